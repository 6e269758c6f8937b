"""Composition helpers: note names, melodies in text, chord charts, voicing and patterns.

Time is counted in beats (quarter notes) from the start of the piece.
"""

import random

import midi

_STEPS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

# General MIDI percussion keys on channel 10.
DRUM = {
    "kick": 36, "side": 37, "snare": 38, "clap": 39, "tomF": 41, "hat": 42,
    "tomL": 45, "pedal": 44, "open": 46, "tomM": 47, "tomH": 50, "crash": 49,
    "ride": 51, "bell": 53, "tamb": 54, "crash2": 57, "shaker": 70,
    "triangle": 81, "tri_open": 81, "block_hi": 76, "block_lo": 77,
}


def pitch(name):
    """'C4' is middle C (60); sharps '#', flats 'b'."""
    letter, rest = name[0].upper(), name[1:]
    acc = 0
    while rest and rest[0] in "#b":
        acc += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + _STEPS[letter] + acc


def _duration(text):
    if "/" in text:
        a, b = text.split("/")
        return float(a or 1) / float(b)
    return float(text)


def phrase(text, dur=1.0):
    """Parses a melody: tokens 'NOTE:BEATS', 'NOTE' (same length as before), 'r:BEATS' for
    a rest, 'A4+C#5:1' for notes struck together; a trailing '>' accents the note.
    Returns a list of (pitches, beats, accent)."""
    out = []
    for tok in text.split():
        accent = tok.endswith(">")
        tok = tok.rstrip(">")
        name, _, d = tok.partition(":")
        if d:
            dur = _duration(d)
        pitches = [] if name in ("r", "R") else [pitch(n) for n in name.split("+")]
        out.append((pitches, dur, accent))
    return out


def length(notes):
    return sum(d for _, d, _ in notes)


def transpose(notes, semis):
    return [([p + semis for p in ps], d, a) for ps, d, a in notes]


# --- chords -------------------------------------------------------------------------

_QUALITY = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11), "sus4": (0, 5, 7), "7sus4": (0, 5, 7, 10),
    "add9": (0, 4, 7, 14), "madd9": (0, 3, 7, 14), "dim": (0, 3, 6), "5": (0, 7),
    "6": (0, 4, 7, 9), "sus2": (0, 2, 7), "m6": (0, 3, 7, 9), "9": (0, 4, 7, 10, 14),
}


class Chord:
    def __init__(self, symbol):
        self.symbol = symbol
        head, _, bass = symbol.partition("/")
        n = 2 if len(head) > 1 and head[1] in "#b" else 1
        self.root = pitch(head[:n] + "0") % 12
        self.intervals = _QUALITY[head[n:]]
        self.bass = pitch(bass + "0") % 12 if bass else self.root

    @property
    def classes(self):
        return [(self.root + i) % 12 for i in self.intervals]

    def tone(self, degree, low):
        """The chord's degree-th tone (0 root, 1 third, 2 fifth, ...) at or above low."""
        pc = (self.root + self.intervals[degree % len(self.intervals)]) % 12
        return low + (pc - low) % 12

    def bass_at(self, low):
        return low + (self.bass - low) % 12


def chart(text, beats_per_bar=4, start=0.0):
    """'Dm | Bb C | A7' -> [(start, beats, Chord)]; chords in one bar share it evenly,
    'X:n' gives a chord n beats explicitly."""
    out = []
    t = start
    for bar in text.split("|"):
        syms = bar.split()
        fixed = sum(_duration(s.partition(":")[2]) for s in syms if ":" in s)
        free = [s for s in syms if ":" not in s]
        each = (beats_per_bar - fixed) / len(free) if free else 0
        for s in syms:
            sym, _, d = s.partition(":")
            beats = _duration(d) if d else each
            out.append((t, beats, Chord(sym)))
            t += beats
    return out


def voice(chord, low, high, size, prev=None):
    """A close voicing of size notes inside [low, high], moving least from prev."""
    classes = chord.classes
    best, best_cost = None, None
    for bottom in range(low, low + 12):
        if bottom % 12 not in classes:
            continue
        k = classes.index(bottom % 12)
        notes = [bottom]
        while len(notes) < size:
            k += 1
            pc = classes[k % len(classes)]
            nxt = notes[-1] + 1 + (pc - notes[-1] - 1) % 12
            notes.append(nxt)
        if notes[-1] > high:
            continue
        if prev:
            cost = sum(abs(a - b) for a, b in zip(notes, prev))
        else:
            cost = abs(sum(notes) / size - (low + high) / 2)
        if best_cost is None or cost < best_cost:
            best, best_cost = notes, cost
    if best is None:
        raise ValueError("no voicing of %s in %d..%d" % (chord.symbol, low, high))
    return best


# --- parts and pieces ---------------------------------------------------------------

class Part:
    """One instrument on one channel."""

    def __init__(self, name, channel, program, volume, pan=64, reverb=40, chorus=0, seed=1):
        self.name, self.channel, self.program = name, channel, program
        self.volume, self.pan, self.reverb, self.chorus = volume, pan, reverb, chorus
        self.notes = []   # (start, beats, pitch, velocity)
        self.controls = []  # (beat, cc, value)
        self.rng = random.Random(seed)

    def note(self, t, beats, p, vel, human=3):
        vel = vel + self.rng.randint(-human, human) if human else vel
        self.notes.append((t, beats, p, max(1, min(127, round(vel)))))

    def play(self, t, notes, vel, legato=0.92, accent=14, shape=None):
        """Plays a parsed phrase from beat t; shape(beat_in_phrase) adds to the velocity.
        Returns the beat after its end."""
        start = t
        for ps, d, acc in notes:
            if ps:
                v = vel + (accent if acc else 0) + (shape(t - start) if shape else 0)
                for p in ps:
                    self.note(t, d * legato if d > 0.3 else d * 0.8, p, v)
            t += d
        return t

    def cc(self, t, number, value):
        self.controls.append((t, number, value))

    def ramp(self, t0, t1, v0, v1, number=11, step=0.25):
        n = max(1, int(round((t1 - t0) / step)))
        for i in range(n + 1):
            self.cc(t0 + (t1 - t0) * i / n, number, v0 + (v1 - v0) * i / n)

    def resolved(self):
        """Notes with any overlap of one pitch on itself cut at the next strike; two
        strikes of one pitch at one moment become one."""
        out = []
        last = {}
        for t, d, p, v in sorted(self.notes):
            if p in last:
                i = last[p]
                pt, pd, pp, pv = out[i]
                if t - pt < 0.06:
                    out[i] = (pt, max(pd, d), pp, max(pv, v))
                    continue
                if pt + pd > t - 0.02:
                    out[i] = (pt, t - pt - 0.02, pp, pv)
            last[p] = len(out)
            out.append((t, d, p, v))
        return out


class Piece:
    def __init__(self, title, bpm, beats_per_bar=4):
        self.title = title
        self.tempi = [(0.0, bpm)]
        self.beats_per_bar = beats_per_bar
        self.parts = []
        self.end = 0.0  # beat at which the piece is over
        self.gain_db = 0.0  # raises every channel's volume, to match the other pieces
        self.velocity_db = 0.0  # and every note's velocity, where the volumes are at their top

    def part(self, *args, **kw):
        p = Part(*args, **kw)
        self.parts.append(p)
        return p

    def tempo(self, t, bpm):
        self.tempi.append((t, bpm))

    def seconds(self, beat):
        total, (t0, bpm) = 0.0, self.tempi[0]
        for t1, nb in sorted(self.tempi)[1:]:
            if t1 >= beat:
                break
            total += (t1 - t0) * 60 / bpm
            t0, bpm = t1, nb
        return total + (beat - t0) * 60 / bpm

    def write(self, path):
        tick = lambda beat: int(round(beat * midi.PPQ))
        conductor = midi.Track(self.title)
        den = {4: 2, 3: 2, 6: 3}[self.beats_per_bar]
        conductor.time_signature(0, self.beats_per_bar, den)
        for t, bpm in self.tempi:
            conductor.tempo(tick(t), bpm)
        tracks = [conductor]
        for p in self.parts:
            tr = midi.Track(p.name)
            ch = p.channel
            tr.control(0, ch, 121, 0)  # start from known controller values
            tr.program(0, ch, p.program)
            # Channel volume follows a 40 log10 curve in General MIDI synthesizers.
            tr.control(0, ch, 7, min(127, round(p.volume * 10 ** (self.gain_db / 40))))
            tr.control(0, ch, 11, 127)
            tr.control(0, ch, 10, p.pan)
            tr.control(0, ch, 91, p.reverb)
            tr.control(0, ch, 93, p.chorus)
            for t, number, value in p.controls:
                tr.control(tick(t), ch, number, value)
            for t, d, pt, v in p.resolved():
                # Velocity, too, follows a 40 log10 curve.
                v = min(127, round(v * 10 ** (self.velocity_db / 40)))
                tr.note(tick(t), max(1, tick(t + d) - tick(t)), ch, pt, v)
            tracks.append(tr)
        midi.write_file(path, tracks, tick(self.end))


# --- pattern helpers ----------------------------------------------------------------

def drums(part, t, bars, vel=90, beats_per_bar=4, steps=16):
    """bars: {instrument: pattern} with one character per step: 'X' accent, 'x' normal,
    'o' soft, '.' rest. Returns the beat after the bar."""
    step = beats_per_bar / steps
    scale = {"X": 1.18, "x": 1.0, "o": 0.55}
    for name, pattern in bars.items():
        assert len(pattern) == steps, (name, pattern)
        for i, c in enumerate(pattern):
            if c in scale:
                part.note(t + i * step, step * 0.9, DRUM[name], vel * scale[c], human=4)
    return t + beats_per_bar


def pad(part, changes, low, high, size, vel, legato=1.0):
    prev = None
    for t, d, ch in changes:
        notes = voice(ch, low, high, size, prev)
        for p in notes:
            part.note(t, d * legato, p, vel)
        prev = notes


def melody(part, t, bars, vel, legato=0.88, shape=None, shift=0, beats_per_bar=4):
    """Plays a list of one-bar phrases from beat t; each bar must fill the bar exactly."""
    for bar in bars:
        notes = transpose(phrase(bar), shift)
        if abs(length(notes) - beats_per_bar) > 1e-6:
            raise ValueError("bar of %g beats: %s" % (length(notes), bar))
        part.play(t, notes, vel, legato=legato, shape=shape)
        t += beats_per_bar
    return t


def swell(part, rest=112, peak=124, start=104):
    """Breath on a wind line: long notes grow towards their middle and ease off; short
    notes keep a steady level. Uses the expression controller, so the part must not
    ramp it otherwise."""
    starts = {}
    for t, d, _, _ in part.notes:
        starts[t] = max(d, starts.get(t, 0))
    for t, d in sorted(starts.items()):
        if d >= 1.5:
            part.ramp(t, t + d * 0.45, start, peak, step=0.25)
            part.ramp(t + d * 0.45, t + d, peak, rest - 6, step=0.25)
        else:
            part.cc(t, 11, rest)


def arpeggio(part, changes, low, high, pattern, vel, ring=2.0, bass_low=None):
    """Broken chords: pattern is a list of (offset, index) where index 'B' is the bass
    note and 0, 1, 2... the notes of a close voicing from low upwards. Notes ring on
    (as with a held pedal) for up to ring beats or the end of the chord."""
    prev = None
    for t, d, ch in changes:
        notes = voice(ch, low, high, 4, prev)
        prev = notes
        for off, idx in pattern:
            if off >= d - 1e-6:
                continue
            p = ch.bass_at(bass_low) if idx == "B" else notes[idx]
            accent = 8 if off == 0 else 0
            part.note(t + off, min(ring, d - off), p, vel + accent)
