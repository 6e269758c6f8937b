"""The title tune: a short fanfare in D major, 116 bpm, eight bars and a held final chord."""

from music import Piece, chart, phrase, pad, drums, pitch, melody, voice

BPM = 116

CHORDS = chart("D | G D/F# | Em A | D | Bm F#m | G A | Bb C | D")
TRUMPET = [
    "A4:.5 A4:.25 A4 D5:1 A4:.5 D5 F#5:1", "B5:1.5 A5:.5 A5:1 F#5",
    "E5:1.5 G5:.5 A5:1 E5", "F#5:3 r:1",
    "B4:.5 D5 F#5:1 A4:.5 C#5 F#5:1", "G5:1.5 F#5:.5 E5:1 A5",
    "F5:1 D5 G5 E5", "F#5:.5 A5 D6:3",
]
HORN = [
    "r:1 F#4:1 A4:2", "D4:2 D4:2", "G4:2 E4:2", "A4:1 F#4 D4:2",
    "F#4:2 F#4:2", "D4:2 C#4:2", "D4:2 E4:2", "D4:1 F#4 A4:2",
]


def build():
    piece = Piece("Title", BPM)
    piece.gain_db = 1.5
    trumpet = piece.part("Trumpet", 0, 56, 127, pan=58, reverb=60, seed=1)
    horn = piece.part("Horns", 1, 60, 96, pan=40, reverb=70, seed=2)
    brass = piece.part("Brass", 2, 61, 80, pan=72, reverb=70, seed=3)
    strings = piece.part("Strings", 3, 48, 58, pan=90, reverb=80, seed=4)
    tuba = piece.part("Tuba", 4, 58, 120, pan=64, reverb=40, seed=5)
    harp = piece.part("Harp", 5, 46, 72, pan=30, reverb=80, seed=6)
    timp = piece.part("Timpani", 6, 47, 96, pan=64, reverb=60, seed=7)
    kit = piece.part("Drums", 9, 0, 100, pan=64, reverb=50, seed=8)

    melody(trumpet, 0, TRUMPET, 96, legato=0.9, shape=lambda b: 6 if b % 1 == 0 else 0)
    melody(horn, 0, HORN, 78, legato=0.95)
    pad(strings, CHORDS, pitch("F#3"), pitch("D5"), 4, 70)
    strings.ramp(0, 28, 90, 110, step=1)
    strings.ramp(28, 32, 110, 118, step=0.5)

    # Brass answer the trumpet on the off-beats of the quieter bars.
    prev = None
    for t, d, ch in CHORDS[:-1]:
        notes = voice(ch, pitch("A3"), pitch("A4"), 3, prev)
        prev = notes
        for off in (1.5, 3) if d == 4 else (1,):
            for p in notes:
                brass.note(t + off, 0.4, p, 76)
    for t, d, ch in CHORDS:
        root = ch.bass_at(pitch("D2"))
        tuba.note(t, min(d, 2) * 0.9, root, 84)
        if d == 4:
            tuba.note(t + 2, 1.8, ch.tone(2, root - 12) if ch.tone(2, root - 12) >= pitch("G1") else ch.tone(2, root), 76)

    # A harp sweep opens the curtain; another one lands on the last chord.
    triad = [pitch(n) for n in ("D3", "F#3", "A3")]
    run = [p + 12 * o for o in range(3) for p in triad] + [pitch("D6")]
    for i, p in enumerate(run):
        harp.note(i * 0.1, 1.8 - i * 0.05, p, 62 + 2 * i)
    for i, p in enumerate(run):
        harp.note(28 + i * 0.1, 3.5 - i * 0.1, p, 60 + 2 * i)

    for bar in range(7):
        t = bar * 4
        pattern = {"kick": "X.......x.......", "snare": "x..x..x.x.x.x..."}
        if bar == 3:
            pattern = {"kick": "X.......x.......", "snare": "x..x..x.X......."}
        if bar == 6:
            pattern = {"kick": "X.......x.......", "snare": "x.x.xxxxxxxxXXXX"}
        drums(kit, t, pattern, 84)
    for t in (0, 16):
        kit.note(t, 1, 49, 100)
    kit.note(28, 2, 49, 110)
    kit.note(28, 2, 57, 96)
    kit.note(28, 1, 36, 110)

    for t, p in ((0, "D2"), (12, "A2"), (16, "D2")):
        timp.note(t, 1, pitch(p), 104)
    for i in range(24):  # roll under the held chord, swelling then dying away
        timp.note(28 + i * 0.125, 0.125, pitch("D2"), 70 + min(i, 12) * 3 - max(0, i - 12) * 4)
    # The roll ends in one short tutti stroke on D.
    hit = 32
    timp.note(hit, 1.5, pitch("D2"), 112)
    tuba.note(hit, 1.5, pitch("D2"), 100)
    trumpet.note(hit, 1.2, pitch("D5"), 108)
    for p in (pitch("D4"), pitch("F#4"), pitch("A4"), pitch("D5")):
        brass.note(hit, 1.5, p, 104)
        horn.note(hit, 1.5, p - 12 if p > pitch("A4") else p, 92)
    for p in (pitch("D3"), pitch("A3"), pitch("F#4"), pitch("D5")):
        strings.note(hit, 1.5, p, 100)
    kit.note(hit, 1, 49, 112)
    kit.note(hit, 1, 36, 112)
    piece.end = 34
    return piece
