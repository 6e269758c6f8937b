"""Checks the written pieces and, with --render, renders them through FluidSynth and
measures their level with sox, and their loudness (K-weighted and gated, in LUFS) as a
whole and over their first phrase.

    python3 check.py [--render] [files...]
"""

import math
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import midi  # noqa: E402

FIRST_PHRASE = 15.0  # seconds: each piece's opening phrase, as a player first hears it

SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8, "A": 9, "A#": 10, "B": 11}
NOTE = {v: k for k, v in NAMES.items()}

# Notes each General MIDI program can sensibly play, as for the real instrument.
RANGES = {
    0: (21, 108), 9: (65, 108), 24: (40, 83), 29: (40, 88), 32: (28, 67), 38: (24, 72),
    42: (36, 76), 43: (28, 67), 45: (28, 96), 46: (24, 103), 47: (36, 60), 48: (28, 100), 49: (28, 100),
    56: (52, 86), 58: (26, 65), 60: (34, 77), 61: (34, 86), 68: (58, 93), 70: (34, 75), 71: (50, 94),
    73: (60, 98), 80: (36, 100),
}


def name(p):
    return "%s%d" % (NOTE[p % 12], p // 12 - 1)


def analyse(path):
    """Returns a summary dict; raises AssertionError on a malformed or careless file."""
    fmt, division, tracks = midi.read_file(path)
    assert fmt == 1, "format %d" % fmt
    tempi, end = [], 0
    channels = {}
    for events in tracks:
        assert events and events[-1][1] == b"\xFF\x2F\x00", "track without end-of-track"
        end = max(end, events[-1][0])
        sounding = {}
        for tick, data in events:
            if data[:2] == b"\xFF\x51":
                tempi.append((tick, int.from_bytes(data[3:6], "big")))
            if data[0] >= 0xF0:
                continue
            kind, ch = data[0] >> 4, data[0] & 0x0F
            info = channels.setdefault(ch, {"program": None, "volume": None, "notes": 0, "low": 127, "high": 0})
            if kind == 0xC and tick == 0:
                info["program"] = data[1]
            elif kind == 0xB and data[1] == 7 and tick == 0:
                info["volume"] = data[2]
            elif kind in (0x8, 0x9):
                key = (ch, data[1])
                if kind == 0x9 and data[2] > 0:
                    assert key not in sounding, "%s struck again while sounding at %d" % (name(data[1]), tick)
                    sounding[key] = tick
                    info["notes"] += 1
                    info["low"] = min(info["low"], data[1])
                    info["high"] = max(info["high"], data[1])
                else:
                    assert key in sounding, "note-off without note-on at %d" % tick
                    del sounding[key]
        assert not sounding, "notes left sounding: %s" % sorted(sounding)
    for ch, info in channels.items():
        assert info["program"] is not None, "channel %d has no program at tick 0" % (ch + 1)
        assert info["volume"] is not None, "channel %d has no volume at tick 0" % (ch + 1)
        assert info["notes"] > 0, "channel %d never sounds" % (ch + 1)
        if ch != 9:
            low, high = RANGES[info["program"]]
            assert low <= info["low"] and info["high"] <= high, "channel %d plays %s..%s, outside %s..%s" % (
                ch + 1, name(info["low"]), name(info["high"]), name(low), name(high))
    tempi.sort()
    assert tempi and tempi[0][0] == 0, "no tempo at tick 0"
    seconds, (t0, us) = 0.0, tempi[0]
    for t1, us1 in tempi[1:]:
        seconds += (t1 - t0) * us / 1e6 / division
        t0, us = t1, us1
    seconds += (end - t0) * us / 1e6 / division
    return {"seconds": seconds, "bpm": 60e6 / tempi[0][1], "channels": channels, "bytes": os.path.getsize(path)}


def k_weighting(rate):
    """The two filters of the loudness measure (a high shelf, then a high pass), as sox
    biquad arguments for the given sample rate."""
    w0 = 2 * math.pi * 1681.9744509555319 / rate
    a, q = 10 ** (3.99984385397 / 40), 0.7071752369554193
    alpha, c = math.sin(w0) / (2 * q), math.cos(w0)
    shelf = [a * ((a + 1) + (a - 1) * c + 2 * math.sqrt(a) * alpha), -2 * a * ((a - 1) + (a + 1) * c),
             a * ((a + 1) + (a - 1) * c - 2 * math.sqrt(a) * alpha), (a + 1) - (a - 1) * c + 2 * math.sqrt(a) * alpha,
             2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - 2 * math.sqrt(a) * alpha]
    w0 = 2 * math.pi * 38.13547087613982 / rate
    alpha, c = math.sin(w0) / (2 * 0.5003270373253953), math.cos(w0)
    high = [(1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha]
    return ["biquad"] + ["%.12g" % x for x in shelf] + ["biquad"] + ["%.12g" % x for x in high]


def loudness(samples, rate):
    """Gated loudness in LUFS of K-weighted stereo samples (floats, shape n x 2):
    400-ms blocks every 100 ms, an absolute gate at -70 and a relative one 10 below."""
    import numpy as np
    block, hop = int(0.4 * rate), int(0.1 * rate)
    if len(samples) < block:
        return float("-inf")
    square = np.concatenate([[0.0], np.cumsum((samples.astype(np.float64) ** 2).sum(axis=1))])
    starts = np.arange(0, len(samples) - block + 1, hop)
    power = (square[starts + block] - square[starts]) / block
    with np.errstate(divide="ignore"):
        level = -0.691 + 10 * np.log10(power)
    power = power[level > -70]
    if not len(power):
        return float("-inf")
    gate = -0.691 + 10 * math.log10(power.mean()) - 10
    power = power[-0.691 + 10 * np.log10(power) > gate]
    return -0.691 + 10 * math.log10(power.mean())


def render(path, gain=0.6):
    """Renders at the given gain and returns sox's figures (peak and RMS in dBFS, length
    in s) and the loudness of the whole piece and of its first phrase (LUFS)."""
    rate = 44100
    with tempfile.TemporaryDirectory() as tmp:
        wav, weighted = os.path.join(tmp, "out.wav"), os.path.join(tmp, "k.wav")
        subprocess.run(["fluidsynth", "-ni", "-g", str(gain), "-F", wav, "-r", str(rate), SOUNDFONT, path],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        text = subprocess.run(["sox", wav, "-n", "stats"], capture_output=True, text=True).stderr
        # 6 dB down first, so that the shelf's boost cannot clip inside sox; added back below.
        subprocess.run(["sox", wav, "-b", "32", "-e", "floating-point", weighted, "gain", "-6"] + k_weighting(rate),
                       check=True)
        with open(weighted, "rb") as f:
            data = f.read()
    figures = {}
    for key in ("Pk lev dB", "RMS lev dB", "RMS Pk dB", "Length s"):
        m = re.search(r"^%s\s+(-?[\d.inf]+)" % re.escape(key), text, re.M)
        figures[key] = float(m.group(1)) if m else None
    samples = wav_floats(data)
    figures["LUFS"] = loudness(samples, rate) + 6
    figures["first LUFS"] = loudness(samples[:int(FIRST_PHRASE * rate)], rate) + 6
    return figures


def wav_floats(data):
    """The samples of a 32-bit float stereo WAV file's data chunk, shape n x 2."""
    import numpy as np
    at = 12
    while at + 8 <= len(data):
        size = int.from_bytes(data[at + 4:at + 8], "little")
        if data[at:at + 4] == b"data":
            return np.frombuffer(data[at + 8:at + 8 + size], dtype="<f4").reshape(-1, 2)
        at += 8 + size + (size & 1)
    raise ValueError("no data chunk")


def main(argv):
    do_render = "--render" in argv
    files = [a for a in argv if not a.startswith("--")]
    if not files:
        bg = os.path.dirname(HERE)
        files = [os.path.join(bg, "bg%d.mid" % i) for i in range(4)]
    for path in files:
        s = analyse(path)
        line = "%s: %.1f s at %.0f bpm, %d bytes" % (os.path.basename(path), s["seconds"], s["bpm"], s["bytes"])
        if do_render:
            r = render(path)
            line += ", peak %.1f dB, RMS %.1f dB, RMS peak %.1f dB, rendered %.1f s" % (
                r["Pk lev dB"], r["RMS lev dB"], r["RMS Pk dB"], r["Length s"])
            line += ", loudness %.1f LUFS, first %.0f s %.1f LUFS" % (r["LUFS"], FIRST_PHRASE, r["first LUFS"])
        print(line)
        for ch, info in sorted(s["channels"].items()):
            print("  ch%-2d program %3d  volume %3d  %4d notes  %s..%s" % (
                ch + 1, info["program"], info["volume"], info["notes"], name(info["low"]), name(info["high"])))


if __name__ == "__main__":
    main(sys.argv[1:])
