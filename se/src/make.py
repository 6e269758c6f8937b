#!/usr/bin/python3
"""Synthesises the ten sound effects se1.wav .. se10.wav into the folder above this one.

Everything is made from oscillators, filtered noise and envelopes; the random generator
is seeded per sound, so every run writes the same bytes.

    /usr/bin/python3 se/src/make.py            # from the repository root
    /usr/bin/python3 se/src/make.py DIR        # writes them into DIR instead
"""
import math
import os
import sys
import wave

import numpy as np

RATE = 44100
PEAK = 10 ** (-1.0 / 20)          # -1 dBFS
OUT_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


# ---------------------------------------------------------------- building blocks

def t_axis(seconds):
    return np.arange(int(round(seconds * RATE))) / RATE


def silence(seconds):
    return np.zeros(int(round(seconds * RATE)))


def phase_of(freq, n):
    """Running phase of an oscillator whose frequency may change per sample."""
    f = np.broadcast_to(np.asarray(freq, dtype=float), (n,))
    return 2 * np.pi * np.cumsum(f) / RATE


def sine(freq, seconds, phase0=0.0):
    n = int(round(seconds * RATE))
    return np.sin(phase_of(freq, n) + phase0)


def glide(f0, f1, seconds, curve=1.0):
    """Exponential pitch glide from f0 to f1; curve > 1 makes it fall faster at first."""
    x = t_axis(seconds) / seconds
    return f0 * (f1 / f0) ** (x ** (1.0 / curve))


def decay(seconds, tau, attack=0.001):
    """Fast linear attack, then exponential decay with time constant tau."""
    t = t_axis(seconds)
    env = np.exp(-np.maximum(t - attack, 0) / tau)
    if attack > 0:
        env *= np.minimum(t / attack, 1.0)
    return env


def place(dst, src, start_s, gain=1.0):
    """Mixes src into dst from start_s seconds on (clipped at the end of dst)."""
    i = int(round(start_s * RATE))
    if i >= len(dst):
        return dst
    n = min(len(src), len(dst) - i)
    dst[i:i + n] += gain * src[:n]
    return dst


def biquad(x, kind, freq, q=0.707):
    """Second-order filter (low, high or band pass, constant skirt); freq may vary per sample."""
    n = len(x)
    f = np.broadcast_to(np.asarray(freq, dtype=float), (n,))
    f = np.clip(f, 10.0, RATE * 0.45)
    w = 2 * np.pi * f / RATE
    cw, sw = np.cos(w), np.sin(w)
    alpha = sw / (2 * q)
    if kind == "low":
        b0 = (1 - cw) / 2; b1 = 1 - cw; b2 = b0
    elif kind == "high":
        b0 = (1 + cw) / 2; b1 = -(1 + cw); b2 = b0
    elif kind == "band":
        b0 = alpha; b1 = np.zeros(n); b2 = -alpha
    else:
        raise ValueError(kind)
    a0 = 1 + alpha
    b0 = np.broadcast_to(b0 / a0, (n,)); b1 = np.broadcast_to(b1 / a0, (n,)); b2 = np.broadcast_to(b2 / a0, (n,))
    a1 = -2 * cw / a0; a2 = (1 - alpha) / a0
    y = np.empty(n)
    x1 = x2 = y1 = y2 = 0.0
    for k in range(n):
        xk = x[k]
        yk = b0[k] * xk + b1[k] * x1 + b2[k] * x2 - a1[k] * y1 - a2[k] * y2
        x2, x1, y2, y1 = x1, xk, y1, yk
        y[k] = yk
    return y


def mode(freq, seconds, tau, amp=1.0, phase0=0.0):
    """One damped resonance, the building block of struck objects."""
    return amp * sine(freq, seconds, phase0) * decay(seconds, tau, attack=0.0005)


def bell(freq, seconds, tau, brightness=1.0, partials=((1.0, 1.0, 1.0), (2.0, 0.35, 0.55),
                                                       (3.01, 0.12, 0.35), (4.2, 0.06, 0.25))):
    """Additive bell: (ratio, level, decay factor) per partial; higher partials die sooner."""
    out = np.zeros(int(round(seconds * RATE)))
    for ratio, level, tf in partials:
        if freq * ratio > RATE * 0.45:
            continue
        lvl = level * (brightness if ratio > 1 else 1.0)
        out += mode(freq * ratio, seconds, tau * tf, lvl, phase0=0.0)
    return out


def soft_clip(x, drive):
    return np.tanh(drive * x) / np.tanh(drive)


def finish(x, fade_in=0.002, fade_out=0.008):
    """Removes DC, normalises to -1 dBFS and fades both ends to exact zero."""
    x = x - np.mean(x)
    x = biquad(x, "high", 25.0, 0.6)
    n_in = max(2, int(fade_in * RATE))
    n_out = max(2, int(fade_out * RATE))
    x[:n_in] *= np.sin(np.linspace(0, np.pi / 2, n_in)) ** 2
    x[-n_out:] *= np.cos(np.linspace(0, np.pi / 2, n_out)) ** 2
    x = x * (PEAK / np.max(np.abs(x)))
    x[0] = 0.0
    x[-1] = 0.0
    return x


def write_wav(path, x):
    pcm = np.round(np.clip(x, -1.0, 1.0) * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


# ---------------------------------------------------------------- the ten sounds

def se1(rng):
    """Selection change: a light, short glassy blip, heard at every Left or Right."""
    dur = 0.075
    f = glide(2350, 1900, dur, curve=2.0)
    tone = np.sin(phase_of(f, len(f))) + 0.18 * np.sin(2 * phase_of(f, len(f)))
    env = decay(dur, 0.016, attack=0.0015)
    click = biquad(rng.standard_normal(len(env)), "band", 5000, 1.5) * decay(dur, 0.002, attack=0.0003)
    return tone * env + 0.25 * click


def se2(rng):
    """A move starts: a brisk swish of air with a soft footfall under it."""
    dur = 0.2
    t = t_axis(dur)
    noise = rng.standard_normal(len(t))
    centre = 700 * (3200 / 700) ** np.clip(t / 0.11, 0, 1)           # the swish sweeps upwards
    swish = biquad(noise, "band", centre, 1.6)
    swish = biquad(swish, "band", centre * 1.1, 1.2)
    env = np.sin(np.pi * np.clip(t / 0.15, 0, 1)) ** 1.3                # rises and falls like air
    env *= np.exp(-np.maximum(t - 0.1, 0) / 0.03)
    step_f = glide(190, 95, 0.07, curve=2.0)
    step = np.sin(phase_of(step_f, len(step_f))) * decay(0.07, 0.018, attack=0.001)
    out = 1.0 * swish * env / (np.max(np.abs(swish * env)) + 1e-9)
    place(out, 0.55 * step, 0.0)
    return out


def se3(rng):
    """Arrival, cursor and page turn: a soft wooden tock, rounded so it never tires the ear."""
    dur = 0.16
    f0 = 620.0
    body = (mode(f0, dur, 0.030, 1.0)
            + mode(f0 * 2.57, dur, 0.012, 0.32, 0.4)
            + mode(f0 * 4.18, dur, 0.006, 0.12, 1.1)
            + mode(f0 * 0.51, dur, 0.022, 0.25))                      # the hollow of the block
    n = len(body)
    strike = biquad(rng.standard_normal(n), "band", 2600, 0.9) * decay(dur, 0.0015, attack=0.0002)
    out = body + 0.35 * strike
    return biquad(out, "low", 4200, 0.7)                                # takes the edge off


def se4(rng):
    """A neutral click: a dry, small mechanical tick."""
    dur = 0.06
    n = int(dur * RATE)
    crack = biquad(rng.standard_normal(n), "band", 3200, 1.2) * decay(dur, 0.0025, attack=0.0002)
    body = mode(1450.0, dur, 0.010, 0.7) + mode(3900.0, dur, 0.004, 0.3) + mode(720.0, dur, 0.008, 0.3)
    return crack + body


def se5(rng):
    """Title and level-up: a bright chime running up a major arpeggio, the top note ringing."""
    dur = 0.95
    out = silence(dur)
    notes = [1046.5, 1318.5, 1568.0, 2093.0]                           # C6 E6 G6 C7
    step = 0.065
    for k, f in enumerate(notes):
        last = k == len(notes) - 1
        length = dur - k * step
        tone = bell(f, length, 0.26 if last else 0.11, brightness=1.2)
        shimmer = bell(f * 1.003, length, 0.22 if last else 0.10, brightness=0.8)   # slight chorus
        strike = mode(f * 2.76, length, 0.006, 0.8) + mode(f * 4.07, length, 0.004, 0.4)
        place(out, (tone + 0.35 * shimmer + strike) * (1.15 if last else 1.0), k * step)
    sparkle = biquad(rng.standard_normal(len(out)), "high", 7000, 0.7) * decay(dur, 0.08, attack=0.002)
    out += 0.03 * sparkle * np.max(np.abs(out))
    return out


def se6(rng):
    """Hit and clear letter: a punchy impact with a bright ring on top.

    In battle it is the blow landing after the robot's crash; in the clear it sounds once
    for each letter of "Congratulations!", 300 ms apart, with nothing else playing. The
    thump alone made that a beating; the ring (two bell notes a fifth apart, the upper a
    hair later) turns the row of letters into a bright run of chimes, and in battle reads
    as the spark of the blow. Short enough to end before the next letter.
    """
    dur = 0.26
    t = t_axis(dur)
    f = glide(230, 55, dur, curve=3.0)
    thump = np.sin(phase_of(f, len(t))) * decay(dur, 0.040, attack=0.0008)
    noise = rng.standard_normal(len(t))
    crack = biquad(noise, "band", 2400, 0.7) * decay(dur, 0.007, attack=0.0003)
    body = biquad(noise, "band", 480, 0.8) * decay(dur, 0.025, attack=0.0005)
    hit = (0.8 * thump + 0.8 * crack / np.max(np.abs(crack))
           + 0.8 * body / np.max(np.abs(body)))
    hit = soft_clip(hit / np.max(np.abs(hit)), 3.0)
    bright = ((1.0, 1.0, 1.0), (2.0, 0.3, 0.6), (3.0, 0.1, 0.4), (5.4, 0.05, 0.2))
    ring = bell(1568.0, dur, 0.075, partials=bright)                    # G6
    upper = silence(dur)
    place(upper, bell(2349.3, dur - 0.012, 0.065, partials=bright), 0.012)   # D7, a fifth up
    ring = (ring + 0.7 * upper) * np.minimum(t / 0.0015, 1.0)
    out = hit + 0.55 * ring / np.max(np.abs(ring))
    return out * np.clip((dur - t) / 0.07, 0, 1)


def se7(rng):
    """The robot's heavy attack: a metal crash on a deep boom, its weight in the first 180 ms."""
    dur = 0.9
    t = t_axis(dur)
    n = len(t)
    f = glide(110, 34, dur, curve=3.0)
    boom = np.sin(phase_of(f, n)) * decay(dur, 0.20, attack=0.002)
    # metallic clang: inharmonic partials of a heavy steel plate, slightly detuned pairs
    clang = np.zeros(n)
    for fr, lv, tau in ((187, 1.0, 0.22), (311, 0.8, 0.18), (523, 0.6, 0.12), (739, 0.45, 0.09),
                        (1123, 0.35, 0.06), (1690, 0.25, 0.04)):
        clang += mode(fr, dur, tau, lv, rng.uniform(0, 6.28)) + mode(fr * 1.013, dur, tau, lv * 0.6)
    noise = rng.standard_normal(n)
    crash_cut = 6000 * np.exp(-t / 0.12) + 500
    crash = biquad(noise, "low", crash_cut, 0.8) * decay(dur, 0.11, attack=0.001)
    grind = biquad(noise, "band", 650, 1.2) * decay(dur, 0.14, attack=0.002)       # the machine's body
    rumble = biquad(noise, "low", 220, 0.9) * decay(dur, 0.30, attack=0.01)
    out = (1.0 * boom + 0.9 * clang / np.max(np.abs(clang))
           + 0.5 * crash / np.max(np.abs(crash)) + 0.5 * rumble / np.max(np.abs(rumble))
           + 0.4 * grind / np.max(np.abs(grind)))
    # a second, smaller knock of the machine settling
    knock_f = glide(140, 60, 0.15, curve=2.0)
    knock = np.sin(phase_of(knock_f, len(knock_f))) * decay(0.15, 0.04, attack=0.001)
    place(out, 0.45 * knock, 0.11)
    out = soft_clip(out / np.max(np.abs(out)), 4.0)
    out *= np.clip((dur - t) / 0.25, 0, 1) ** 1.5                       # settles to silence
    return out


def se8(rng):
    """Start of the epilogue: a soft, warm chime, a gentle bell note settling onto a chord."""
    dur = 0.98
    out = silence(dur)
    warm = ((1.0, 1.0, 1.0), (2.0, 0.22, 0.6), (3.0, 0.05, 0.35), (0.5, 0.12, 1.1))
    for start, f, gain in ((0.0, 659.25, 0.8), (0.15, 523.25, 0.8), (0.15, 783.99, 0.45)):  # E5, then C5+G5
        length = dur - start
        tone = bell(f, length, 0.30, brightness=0.8, partials=warm)
        tone *= np.minimum(t_axis(length) / 0.006, 1.0)                   # soft mallet
        # the felt mallet's touch: a quick, rounded strike that dies in a few tens of ms
        touch = mode(f * 2.76, length, 0.012, 0.9) + mode(f * 5.4, length, 0.005, 0.35)
        place(out, gain * (tone + touch), start)
    out = biquad(out, "low", 4000, 0.7)
    t = t_axis(dur)
    out *= np.clip((dur - t) / 0.3, 0, 1) ** 1.2
    return out


def se9(rng):
    """A refused move: two short, low, nasal buzzes, the second a little lower."""
    dur = 0.25
    out = silence(dur)
    for start, f in ((0.0, 124.0), (0.125, 110.0)):
        length = 0.1
        t = t_axis(length)
        ph = phase_of(f, len(t))
        # band-limited square with a second, detuned voice for a rough edge
        sq = sum(np.sin(k * ph) / k for k in range(1, 40, 2) if f * k < 5000)
        sq2 = sum(np.sin(k * ph * 1.025) / k for k in range(1, 40, 2) if f * k < 5000)
        env = np.minimum(t / 0.003, 1.0) * (0.45 + 0.55 * np.exp(-t / 0.03))
        env *= np.minimum((length - t) / 0.012, 1.0)
        place(out, (sq + 0.6 * sq2) * env, start)
    return biquad(out, "low", 2000, 0.9)


def se10(rng):
    """A robot beaten: a big blast, a rolling rumble and metal debris raining down."""
    dur = 1.8
    t = t_axis(dur)
    n = len(t)
    noise = rng.standard_normal(n)
    cut = 5500 * np.exp(-t / 0.09) + 160 + 500 * np.exp(-t / 0.6)
    blast = biquad(noise, "low", cut, 0.9)
    blast *= decay(dur, 0.28, attack=0.004)
    blast /= np.max(np.abs(blast))
    f = glide(80, 26, 1.0, curve=2.5)
    sub = np.sin(phase_of(f, len(f))) * decay(1.0, 0.30, attack=0.003)
    rumble = biquad(rng.standard_normal(n), "low", 120, 1.0)
    rumble = rumble / np.max(np.abs(rumble)) * decay(dur, 0.55, attack=0.06)
    crunch = biquad(noise, "band", 900, 0.8) * decay(dur, 0.12, attack=0.002)
    out = 1.0 * blast + 0.6 * rumble + 0.5 * crunch / np.max(np.abs(crunch))
    place(out, 0.9 * sub, 0.0)
    # debris: pieces of the robot landing, metal rings and duller chunks, thinning out
    debris = np.zeros(n)
    k_t = 0.14
    while k_t < 1.4:
        piece_len = 0.08
        if rng.random() < 0.65:                                          # a ringing metal scrap
            fr = rng.uniform(1500, 4500)
            piece = (mode(fr, piece_len, 0.014, 1.0, rng.uniform(0, 6.28))
                     + mode(fr * rng.uniform(1.4, 2.3), piece_len, 0.008, 0.45))
        else:                                                            # a heavier, dull chunk
            fr = rng.uniform(350, 900)
            piece = mode(fr, piece_len, 0.018, 1.2) + mode(fr * 2.3, piece_len, 0.008, 0.4)
        tick = biquad(rng.standard_normal(len(piece)), "low", 6000, 0.7) * decay(piece_len, 0.002, attack=0.0002)
        level = rng.uniform(0.35, 1.0) * math.exp(-(k_t - 0.14) / 0.5)
        place(debris, level * (piece + 0.8 * tick), k_t)
        k_t += rng.exponential(0.022 + 0.07 * (k_t - 0.14))
    out += 0.8 * debris / np.max(np.abs(debris))
    out = soft_clip(out / np.max(np.abs(out)), 3.5)
    out *= np.clip((dur - t) / 0.35, 0, 1) ** 1.3
    return out


SOUNDS = [se1, se2, se3, se4, se5, se6, se7, se8, se9, se10]


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else OUT_DIR
    os.makedirs(out_dir, exist_ok=True)
    for number, make in enumerate(SOUNDS, start=1):
        rng = np.random.default_rng(7000 + number)
        x = finish(make(rng))
        path = os.path.join(out_dir, "se%d.wav" % number)
        write_wav(path, x)
        print("se%-2d %5.3f s  peak %5.1f dBFS" % (number, len(x) / RATE, 20 * math.log10(np.max(np.abs(x)))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
