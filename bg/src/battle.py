"""The battle: D minor, 150 bpm, driving. Intro, A, B, A', bridge, turnaround.

The piece ends on one short tutti hit on D, so the gap before the player's music
loop starts it again sounds like a break, and the intro's drum pickup re-enters.
"""

from music import Piece, chart, phrase, pad, drums, voice, pitch, melody

BPM = 150

INTRO = chart("Dm | Dm | Bb C | Dm")
A_TEXT = ("Dm | Bb | C | Dm | Dm | Bb | Gm | A7 | "
          "Dm | Bb | C | F | Bb | C | A7 | Dm")
A_CHORDS = chart(A_TEXT, start=16)
B_CHORDS = chart("F | C | Dm | Bb | F | C | Bb | C | "
                 "Gm | Dm | Bb | F | Gm | Bb | C | Asus4 A", start=80)
A2_CHORDS = chart(A_TEXT, start=144)
BRIDGE = chart("Bb | C | Am | Dm | Gm | C | Bb | A7", start=208)
TURN = chart("Dm | Bb C | Gm A7 | Dm", start=240)

A_MELODY = [
    "A4:.5 D5 E5 F5:1 E5:.5 D5 E5", "F5:1.5 D5:.5 Bb4:1 C5:.5 D5",
    "E5:1.5 C5:.5 G4:1 A4:.5 Bb4", "A4:2.5 r:1 A4:.5",
    "D5:.5 E5 F5 G5 A5:1 G5:.5 F5", "F5:1.5 D5:.5 Bb4:1 D5",
    "G5:1 F5:.5 E5 D5:1 Bb4", "A4:1 C#5 E5 G5",
    "F5:1.5 E5:.5 D5:1 A4", "Bb4:.5 C5 D5 F5 D5:1 Bb4",
    "C5:.5 D5 E5 G5 E5:1 C5", "A5:1.5 G5:.5 F5:1 C5",
    "D5:1 Bb4:.5 D5 F5:1 Bb5", "G5:1.5 F5:.5 E5:1 G5",
    "A5:1.5 G5:.5 E5 F5 E5 C#5", "D5:2.5 r:.5 C5:.5 E5",
]
A2_ENDING = [
    "F5:.5 G5 A5 Bb5 D6:1 Bb5", "C6:1.5 Bb5:.5 A5 G5 E5:1",
    "E5:.5 F5 G5 A5 C#6:1 E6", "D6:2 r:2",
]
B_MELODY = [
    "F5:1.5 G5:.5 A5:1 C6", "G5:2.5 E5:.5 F5 G5",
    "A5:1.5 G5:.5 F5:1 D5", "F5:2.5 r:.5 D5 E5",
    "F5:1.5 G5:.5 A5:1 C6", "D6:1.5 C6:.5 Bb5:1 G5",
    "A5:1.5 G5:.5 F5:1 D5", "E5:1.5 F5:.5 G5:2",
    "Bb5:1.5 A5:.5 G5:1 D5", "A5:1.5 G5:.5 F5:1 D5",
    "Bb5:1 A5:.5 G5 F5:1 D5", "C6:3 A5:.5 C6",
    "D6:1.5 C6:.5 Bb5:1 G5", "Bb5:1.5 C6:.5 D6:1 Bb5",
    "C6:1.5 Bb5:.5 A5 G5 E5:1", "A5:2 G5:.5 F5 E5 C#5",
]
BRIDGE_MELODY = [
    "D5:3 C5:.5 Bb4", "C5:2 G4:1 C5", "E5:3 D5:.5 C5", "D5:2 A4:2",
    "Bb4:1.5 C5:.5 D5:2", "E5:1.5 F5:.5 G5:2", "F5:1.5 E5:.5 D5:2", "C#5:1 E5 A5:2",
]
TURN_MELODY = [
    "D5:.5 F5 A5 D6 A5 F5 D5 A4", "Bb4:.5 D5 F5 Bb5 C5 E5 G5 C6",
    "Bb5:.5 G5 D5 Bb4 A4 C#5 E5 G5", "D6:1> r:3",
]
# Long notes under the melody when A comes back, answering it a tenth below.
COUNTER = [
    "D4:2 F4:2", "D4:4", "E4:2 G4:2", "F4:4", "A4:2 F4:2", "F4:4", "G4:2 Bb4:2", "A4:2 C#5:2",
    "A4:4", "F4:4", "G4:4", "A4:2 C5:2", "Bb4:4", "C5:2 G4:2", "A4:2 G4:2", "F4:4",
]

GROOVE_A = {"kick": "X.....x.x.....x.", "snare": "....X.......X...",
            "hat": "x.o.x.o.x.o.x.oo"}
GROOVE_B = {"kick": "X...x...x...x...", "snare": "....X.......X..o",
            "hat": "x...x...x...x...", "open": "..x...x...x...x."}
HALF = {"kick": "X.....x...x.....", "snare": "........X.......",
        "tomF": "..x.....x...x..o", "ride": "x.x.x.x.x.x.x.x."}
FILL = {"kick": "X.......x.......", "snare": "....x.xox.xoxxXX",
        "tomH": "..........x.....", "tomM": "...........x....", "hat": "x.x.x.x........."}
TOM_FILL = {"kick": "X.......x...x...", "snare": "....x.x.........",
            "tomH": "........xx......", "tomM": "..........xx....", "tomF": "............xxXX"}


def bass_line(part, changes, pattern):
    """pattern: list of (offset, beats, 'R'|'O'|'F') per 4 beats: root, octave, fifth; a chord shorter than
    a bar uses only the events that fall inside it."""
    for t, d, ch in changes:
        root = ch.bass_at(pitch("C2"))
        fifth = ch.tone(2, root)
        tones = {"R": root, "O": root + 12, "F": fifth}
        for off, beats, what in pattern:
            if off < d - 1e-6:
                accent = 10 if off % 1 == 0 else 0
                part.note(t + off, min(beats, d - off) * 0.85, tones[what], 88 + accent)


def power_chords(part, changes, rhythm, vel):
    """Root, fifth and octave, struck on each (offset, beats) of the rhythm."""
    for t, d, ch in changes:
        root = ch.bass_at(pitch("D3") - 2)
        if root > pitch("A3"):
            root -= 12
        for off, beats in rhythm:
            if off < d - 1e-6:
                accent = 12 if off % 2 == 0 else (4 if off % 1 == 0 else 0)
                for p in (root, root + 7, root + 12):
                    part.note(t + off, min(beats, d - off) * 0.8, p, vel + accent)


def stabs(part, changes, offsets, vel, low, high):
    prev = None
    for t, d, ch in changes:
        notes = voice(ch, low, high, 3, prev)
        prev = notes
        for off in offsets:
            if off < d - 1e-6:
                for p in notes:
                    part.note(t + off, 0.35, p, vel)


def build():
    piece = Piece("Battle", BPM)
    lead = piece.part("Lead", 0, 80, 112, pan=60, reverb=45, chorus=20, seed=11)
    brass = piece.part("Brass", 1, 61, 100, pan=44, reverb=55, seed=12)
    strings = piece.part("Strings", 2, 48, 72, pan=88, reverb=70, seed=13)
    bass = piece.part("Bass", 3, 38, 100, pan=64, reverb=10, seed=14)
    guitar = piece.part("Guitar", 4, 29, 92, pan=30, reverb=25, seed=15)
    timp = piece.part("Timpani", 5, 47, 96, pan=70, reverb=60, seed=16)
    kit = piece.part("Drums", 9, 0, 100, pan=64, reverb=35, seed=17)

    eighths = [(i * 0.5, 0.5, w) for i, w in enumerate("RRORRROF")]
    octaves = [(i * 0.5, 0.5, "R" if i % 2 == 0 else "O") for i in range(8)]
    half_time = [(0, 1.5, "R"), (1.5, 1.5, "R"), (3, 0.5, "F"), (3.5, 0.5, "O")]
    chug = [(i * 0.5, 0.5) for i in range(8)]
    open_hits = [(0, 1.5), (1.5, 1), (2.5, 1.5)]

    # Intro, 4 bars: bass riff and drums, brass and timpani announce the key.
    riff = "D2:.5 D2 D3 D2 C3 D2 A2 C3"
    for bar in range(4):
        t = bar * 4
        bass.play(t, phrase(riff), 92, legato=0.8, accent=0)
    drums(kit, 0, {"kick": "X...x...x...x...", "hat": "o.o.o.x.o.o.x.x."}, 92)
    drums(kit, 4, {"kick": "X...x...x...x...", "hat": "o.o.o.x.o.o.x.x.", "snare": "............x.x."}, 92)
    drums(kit, 8, {"kick": "X...x...x...x...", "snare": "....x.......x...", "hat": "x.x.x.x.x.x.x.x."}, 95)
    drums(kit, 12, FILL, 95)
    kit.note(0, 1, 49, 100)
    for t, first, second in ((0, "D2", "A2"), (8, "F2", "F2")):
        timp.note(t, 1, pitch(first), 105)
        timp.note(t + 1.5, 1, pitch(second), 90)
    stabs(brass, INTRO[2:4], [0, 1.5], 96, pitch("F3"), pitch("F4"))
    stabs(brass, INTRO[4:], [0], 100, pitch("F3"), pitch("F4"))
    strings.ramp(0, 16, 60, 110)
    pad(strings, INTRO, pitch("D3"), pitch("D5"), 4, 70)
    power_chords(guitar, INTRO[2:], chug, 70)

    # A: the theme.
    t0 = 16
    melody(lead, t0, A_MELODY, 92, legato=0.86, shape=lambda b: 6 if b % 1 == 0 else 0)
    bass_line(bass, A_CHORDS, eighths)
    power_chords(guitar, A_CHORDS, chug, 66)
    strings.cc(t0, 11, 84)
    pad(strings, A_CHORDS, pitch("F3"), pitch("D5"), 3, 64)
    stabs(brass, [A_CHORDS[7], A_CHORDS[14]], [0, 1.5, 3], 84, pitch("G3"), pitch("G4"))
    for bar in range(16):
        t = t0 + bar * 4
        drums(kit, t, FILL if bar in (7, 15) else GROOVE_A, 96)
    for t in (t0, t0 + 32):
        kit.note(t, 1, 49, 105)

    # B: the relative major, broader tune over open guitar and four-on-the-floor.
    t0 = 80
    melody(lead, t0, B_MELODY, 96, shape=lambda b: 6 if b % 1 == 0 else 0)
    bass_line(bass, B_CHORDS, octaves)
    power_chords(guitar, B_CHORDS, open_hits, 70)
    strings.cc(t0, 11, 100)
    pad(strings, B_CHORDS, pitch("A3"), pitch("F5"), 4, 72)
    stabs(brass, B_CHORDS, [2.5], 80, pitch("A3"), pitch("A4"))
    for bar in range(16):
        t = t0 + bar * 4
        drums(kit, t, FILL if bar in (7,) else TOM_FILL if bar == 15 else GROOVE_B, 98)
    for t in (t0, t0 + 32):
        kit.note(t, 1, 49, 108)
    timp.note(t0 + 60, 0.5, pitch("A2"), 100)
    timp.note(t0 + 62, 0.5, pitch("A2"), 108)

    # A': the theme over the strings' counter-line; brass joins an octave below halfway.
    t0 = 144
    melody(lead, t0, A_MELODY[:12] + A2_ENDING, 96, shape=lambda b: 6 if b % 1 == 0 else 0)
    melody(brass, t0 + 32, A_MELODY[8:12] + A2_ENDING, 72, shift=-12)
    melody(strings, t0, COUNTER, 74)
    strings.cc(t0, 11, 104)
    bass_line(bass, A2_CHORDS, eighths)
    power_chords(guitar, A2_CHORDS, chug, 68)
    for bar in range(16):
        t = t0 + bar * 4
        drums(kit, t, FILL if bar in (7, 15) else GROOVE_A, 98)
    for t in (t0, t0 + 32):
        kit.note(t, 1, 49, 108)
    timp.note(t0 + 60, 0.5, pitch("D2"), 100)
    timp.note(t0 + 61, 0.5, pitch("A2"), 100)
    timp.note(t0 + 62, 1, pitch("D2"), 112)

    # Bridge: half time, brass carries the tune, strings swell towards the return.
    t0 = 208
    melody(brass, t0, BRIDGE_MELODY, 112, legato=0.95, shape=lambda b: 8 if b == 0 else 0)
    melody(lead, t0 + 16, BRIDGE_MELODY[4:], 80)  # the lead creeps back in
    bass_line(bass, BRIDGE, half_time)
    power_chords(guitar, BRIDGE, [(0, 4)], 64)
    strings.ramp(t0, t0 + 32, 64, 104, step=1)
    pad(strings, BRIDGE, pitch("D4"), pitch("A5"), 3, 70)
    for bar in range(8):
        t = t0 + bar * 4
        drums(kit, t, TOM_FILL if bar == 7 else HALF, 96)
        timp.note(t, 1, BRIDGE[bar][2].bass_at(pitch("D2")), 96)
    kit.note(t0, 1, 49, 108)
    for i in range(16):  # timpani roll into the turnaround
        timp.note(t0 + 30 + i * 0.125, 0.125, pitch("A2"), 60 + i * 3)

    # Turnaround: the whole band in unison arpeggios, then one hit.
    t0 = 240
    melody(lead, t0, TURN_MELODY, 98)
    bass_line(bass, TURN[:-1], eighths)
    power_chords(guitar, TURN[:-1], chug, 70)
    stabs(brass, TURN[:-1], [0, 1.5, 3], 92, pitch("A3"), pitch("A4"))
    strings.cc(t0, 11, 110)
    pad(strings, TURN[:-1], pitch("D4"), pitch("D5"), 3, 74)
    for bar in range(3):
        drums(kit, t0 + bar * 4, FILL if bar == 2 else GROOVE_A, 100)
    kit.note(t0, 1, 49, 110)

    hit = 252
    for p in (pitch("D2"), pitch("D1") + 12):
        bass.note(hit, 1.2, p, 112)
    for p in (pitch("D3"), pitch("A3"), pitch("D4")):
        guitar.note(hit, 1.2, p, 90)
    for p in (pitch("D4"), pitch("F4"), pitch("A4"), pitch("D5")):
        brass.note(hit, 1.2, p, 104)
    for p in (pitch("D4"), pitch("A4"), pitch("D5"), pitch("F5")):
        strings.note(hit, 1.2, p, 96)
    timp.note(hit, 1.5, pitch("D2"), 118)
    kit.note(hit, 1, 49, 115)
    kit.note(hit, 1, 57, 100)
    kit.note(hit, 1, 36, 115)
    piece.end = hit + 3
    return piece
