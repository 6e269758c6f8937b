#!/usr/bin/python3
"""Renders what a player hears during the game's clear presentation and prints its figures.

The presentation plays sound 7 as the robot's picture is wiped, then sound 6 for each of the
16 letters of "Congratulations!", one every 301 ms (a 300-ms wait lasts one tick more); the
music is already stopped, and a new sound effect cuts off the one still playing.

    /usr/bin/python3 se/src/clear_mix.py [OUT.wav]     # from the repository root
"""
import os
import sys
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
SE_DIR = os.path.normpath(os.path.join(HERE, ".."))
RATE = 44100
SE7_AT = 2.001                       # after the first 2-second wait
FIRST_LETTER = SE7_AT + 13 * 0.051 + 2.001
LETTER_STEP = 0.301
LETTERS = 16
BANDS = [(20, 250), (250, 1000), (1000, 4000), (4000, 16000)]


def read(name):
    with wave.open(os.path.join(SE_DIR, name), "rb") as w:
        assert w.getframerate() == RATE and w.getnchannels() == 1
        return np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(float) / 32768.0


def mix():
    """The presentation's sound, from the first wait to one second after the last letter."""
    starts = [(SE7_AT, read("se7.wav"))] + [(FIRST_LETTER + k * LETTER_STEP, read("se6.wav"))
                                            for k in range(LETTERS)]
    end = FIRST_LETTER + LETTERS * LETTER_STEP + 1.0
    out = np.zeros(int(end * RATE))
    for k, (t, x) in enumerate(starts):
        i = int(round(t * RATE))
        stop = int(round(starts[k + 1][0] * RATE)) if k + 1 < len(starts) else len(out)
        n = min(len(x), stop - i)   # the next sound cuts this one off
        out[i:i + n] += x[:n]
    return out


def figures(x):
    """Level, band shares, spectral centroid and the strongest peak above 1 kHz of one sound."""
    spec = np.abs(np.fft.rfft(x * np.hanning(len(x)), 1 << 16)) ** 2
    freqs = np.fft.rfftfreq(1 << 16, 1 / RATE)
    total = spec.sum()
    share = [spec[(freqs >= lo) & (freqs < hi)].sum() / total for lo, hi in BANDS]
    centroid = (spec * freqs).sum() / total
    high = (freqs >= 1000) & (freqs < 6000)
    k = np.argmax(spec * high)
    band = spec[high]
    # how far the peak stands above the band around it: a pitch rather than noise
    prominence = 10 * np.log10(spec[k] / np.median(band))
    return {
        "length_s": len(x) / RATE,
        "peak_db": 20 * np.log10(np.max(np.abs(x))),
        "rms_db": 10 * np.log10(np.mean(x ** 2)),
        "bands": share,
        "centroid_hz": centroid,
        "peak_hz": freqs[k],
        "peak_prominence_db": prominence,
    }


def main(argv):
    x = mix()
    if len(argv) > 1:
        pcm = np.round(np.clip(x, -1, 1) * 32767).astype("<i2")
        with wave.open(argv[1], "wb") as w:
            w.setnchannels(1)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(pcm.tobytes())
    f = figures(read("se6.wav"))
    print("se6: %.3f s, peak %.1f dBFS, RMS %.1f dBFS, centroid %.0f Hz" % (
        f["length_s"], f["peak_db"], f["rms_db"], f["centroid_hz"]))
    print("  energy below 250 Hz %.0f%%, 250-1k %.0f%%, 1-4k %.0f%%, above 4k %.0f%%" % tuple(
        100 * s for s in f["bands"]))
    print("  strongest peak 1-6 kHz: %.0f Hz, %.1f dB above the band's median" % (
        f["peak_hz"], f["peak_prominence_db"]))
    letters = x[int(FIRST_LETTER * RATE):int((FIRST_LETTER + LETTERS * LETTER_STEP) * RATE)]
    print("letters: %.2f s, RMS %.1f dBFS, %.0f%% of the time silent (below -50 dBFS)" % (
        len(letters) / RATE, 10 * np.log10(np.mean(letters ** 2)),
        100 * np.mean(np.abs(letters) < 10 ** (-50 / 20))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
