"""The manual's menu: F major, 92 bpm, calm. Intro, A (flute), B (clarinet, flute
answering), A' (flute with clarinet and glockenspiel), a short cadence onto F.

It ends at rest on the tonic, so the few seconds of silence before the loop starts it
again read as a breath between verses.
"""

from music import Piece, chart, phrase, pad, drums, pitch, melody, arpeggio, swell

BPM = 92

INTRO = chart("Fmaj7 | Gm7 C7")
A_CHORDS = chart("F | C/E | Dm7 | Bb | Gm7 | C7 | F Dm7 | Gm7 C7", start=8)
B_CHORDS = chart("Bb | C | Am7 | Dm7 | Gm7 | C | F/A Bb | Gm7 C7", start=40)
A2_CHORDS = chart("F | C/E | Dm7 | Bb | Gm7 | C7 | Am7 Dm7 | Gm7 C7", start=72)
END = chart("Bb C7sus4 | F:4", start=104)

A_MELODY = [
    "C5:1 F5 A5:1.5 G5:.5", "G5:2 E5:1 C5", "D5:1 F5 A5:1.5 C6:.5", "A5:3 r:1",
    "Bb5:1.5 A5:.5 G5:1 F5", "E5:1 G5 Bb5 A5:.5 G5", "A5:1.5 G5:.5 F5:1 D5", "G5:1.5 F5:.5 E5:2",
]
A2_TAIL = ["A5:1.5 G5:.5 F5:1 D5", "G5:2 A5:1 Bb5"]
B_MELODY = [
    "D5:1.5 C5:.5 D5:1 F5", "E5:1.5 D5:.5 C5:2", "C5:1 E5 G5:1.5 E5:.5", "F5:3 r:1",
    "Bb4:1 D5 F5:1.5 D5:.5", "E5:1.5 F5:.5 G5:2", "A5:1.5 G5:.5 F5:1 D5", "G5:2 E5:1 r:1",
]
FLUTE_ANSWERS = [
    "r:4", "r:2 G5:.5 A5 C6:1", "r:4", "r:3 A5:.5 G5",
    "r:4", "r:2 C6:.5 Bb5 A5 G5", "r:4", "r:2 C6:1 A5:.5 G5",
]
COUNTER = [
    "A4:2 C5", "C5:2 G4", "F4:2 A4", "F4:2 D5", "D5:2 Bb4", "C5:2 E5", "C5:2 A4", "D5:2 Bb4",
]
END_MELODY = ["A5:2 G5", "F5:4"]

ARP = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, 3), (2.5, 2), (3, 1), (3.5, 2)]
ARP_HALF = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, "B"), (2.5, 0), (3, 1), (3.5, 3)]

GROOVE = {"kick": "x.........o.....", "side": "....x.......x...", "shaker": "o.x.o.x.o.x.o.xo"}
GROOVE_B = {"kick": "x.....o...x.....", "side": "....x.......x..o", "shaker": "o.x.o.x.o.x.o.xo",
            "tamb": "....x.......x..."}


def bass_line(part, changes, vel):
    for t, d, ch in changes:
        root = ch.bass_at(pitch("E2"))
        fifth = ch.tone(2, root)
        if fifth - 12 >= pitch("C2"):
            fifth -= 12
        if d >= 4:
            part.note(t, 1.4, root, vel + 6)
            part.note(t + 1.5, 0.45, root, vel - 8)
            part.note(t + 2, 1.8, fifth, vel)
        else:
            part.note(t, d * 0.9, root, vel + 4)


def build():
    piece = Piece("Menu", BPM)
    flute = piece.part("Flute", 0, 73, 122, pan=56, reverb=70, seed=21)
    clar = piece.part("Clarinet", 1, 71, 127, pan=76, reverb=65, seed=22)
    guitar = piece.part("Guitar", 2, 24, 127, pan=44, reverb=55, seed=23)
    bass = piece.part("Bass", 3, 32, 127, pan=64, reverb=30, seed=24)
    strings = piece.part("Strings", 4, 49, 118, pan=84, reverb=80, seed=25)
    glock = piece.part("Glockenspiel", 5, 9, 118, pan=90, reverb=80, seed=26)
    kit = piece.part("Drums", 9, 0, 110, pan=64, reverb=50, seed=27)

    every = INTRO + A_CHORDS + B_CHORDS + A2_CHORDS
    for changes in (INTRO, A_CHORDS, B_CHORDS, A2_CHORDS):
        full = [c for c in changes if c[1] >= 4]
        half = [c for c in changes if c[1] < 4]
        arpeggio(guitar, full, pitch("G3"), pitch("E5"), ARP, 74, bass_low=pitch("E2"))
        arpeggio(guitar, half, pitch("G3"), pitch("E5"), ARP_HALF, 74, bass_low=pitch("E2"))
    bass_line(bass, every, 90)

    # Strings breathe in two-bar swells and rest through the intro.
    pad(strings, A_CHORDS + B_CHORDS + A2_CHORDS, pitch("A3"), pitch("E5"), 4, 52)
    for t in range(8, 104, 8):
        strings.ramp(t, t + 4, 70, 100, step=0.5)
        strings.ramp(t + 4, t + 8, 100, 70, step=0.5)

    shape = lambda b: 6 - 2 * abs(b - 2)  # each bar leans towards its middle
    melody(flute, 8, A_MELODY, 94, shape=shape)
    melody(clar, 40, B_MELODY, 94, shape=shape)
    melody(flute, 40, FLUTE_ANSWERS, 76)
    melody(flute, 72, A_MELODY[:6] + A2_TAIL, 98, shape=shape)
    melody(clar, 72, COUNTER, 76, legato=0.96)

    # The glockenspiel rings the longer notes of the returning tune an octave higher.
    t = 72
    for bar in A_MELODY[:6]:
        for ps, d, _ in phrase(bar):
            if ps and d >= 1:
                glock.note(t, d, ps[0] + 12, 84)
            t += d

    for bar in range(2, 26):
        t = bar * 4
        drums(kit, t, GROOVE_B if 10 <= bar < 18 else GROOVE, 70)

    # Cadence: melody settles on F, everything lets the last chord ring.
    melody(flute, 104, END_MELODY, 96, legato=0.98)
    arpeggio(guitar, END[:2], pitch("G3"), pitch("E5"), ARP_HALF, 60, bass_low=pitch("E2"))
    bass_line(bass, END[:2], 76)
    pad(strings, END, pitch("A3"), pitch("E5"), 4, 54)
    strings.ramp(104, 112, 90, 60, step=0.5)
    for off, p in enumerate((pitch("F2") + 12, pitch("C4"), pitch("F4"), pitch("A4"), pitch("C5"))):
        guitar.note(108 + off * 0.12, 3.6 - off * 0.12, p, 64 - off * 2)
    bass.note(108, 3.6, pitch("F2"), 80)
    glock.note(108, 3, pitch("F6"), 60)
    drums(kit, 104, {"kick": "x.........o.....", "side": "....x.......x...", "shaker": "o.x.o.x.o.x.o.x."}, 66)
    kit.note(108, 2, 81, 60)
    kit.note(108, 1, 36, 60)
    swell(flute, rest=118, peak=127, start=108)
    swell(clar, rest=118, peak=127, start=108)
    piece.end = 112.5
    return piece
