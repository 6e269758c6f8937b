"""The epilogue: gentle, D major rising to E major, 72 bpm, played once.

Piano alone; the tune on flute; again on oboe with the flute around it; a middle part
for the strings with horn; the tune a tone higher for everyone; a slowing coda that
comes to rest on one long E major chord.
"""

from music import Piece, chart, pad, drums, pitch, melody, arpeggio, swell

BPM = 72

INTRO = chart("D | Bm | G | Asus4 A", start=0)
A1 = chart("D | A/C# | Bm | D/A | G | D/F# | Em7 | A7", start=16)
A2 = chart("D | A/C# | Bm | D/A | G | A | D | D7", start=48)
B = chart("G | A | F#m | Bm | Em7 | F#m7 | Gmaj7 | B7sus4 B7", start=80)
A3 = chart("E | B/D# | C#m | E/B | A | B | C#m A | B7sus4 B7", start=112)
CODA = chart("A | E/G# | F#m7 | B7sus4 B7 | E | E", start=144)

THEME = ["A4:1 D5 F#5:1.5 E5:.5", "E5:2.5 D5:.5 C#5:1", "D5:1 F#5 B5:1.5 A5:.5", "A5:3 r:1"]
THEME_END = ["B5:1.5 A5:.5 G5:1 D5", "A5:1.5 G5:.5 F#5:1 D5", "G5:1 F#5 E5 D5:.5 E5", "E5:3 r:1"]
THEME_END2 = ["B5:1.5 C#6:.5 D6:1 B5", "A5:1.5 G5:.5 F#5:1 E5", "F#5:1.5 E5:.5 D5:2", "r:2 F#5:1 A5"]
FLUTE_AROUND = ["r:4", "r:3 A5:.5 B5", "D6:2 r:2", "r:1 D6 E6 F#6",
                "r:4", "r:4", "r:4", "r:2 D6:1 C6"]
SONG = ["B5:2.5 A5:.5 G5:1", "A5:2 E5:1 F#5:.5 G5", "A5:1.5 G5:.5 F#5:1 C#5", "D6:2 C#6:1 B5",
        "B5:1.5 A5:.5 G5:1 E5", "C#6:1.5 B5:.5 A5:1 E5", "D5:1 F#5 B5 D6", "E6:2 D#6:1 B5"]
HORN_B = ["G3:2 B3", "C#4:2 E4", "F#4:2 E4", "D4:4", "E4:2 G4", "F#4:2 E4", "D4:2 F#4", "E4:2 D#4"]
THEME_HIGH_END = ["C#6:1.5 D#6:.5 E6:1 C#6", "B5:1.5 A5:.5 G#5:1 F#5", "G#5:2 A5:1 C#6", "B5:3 r:1"]
TOP_END = ["C#7:1.5 B6:.5 A6:1 E6", "F#6:1.5 E6:.5 D#6:1 B5", "E6:2 C#6:1 E6", "E6:2 D#6:1 B5"]
HORN_A3 = ["B3:2 E4", "D#4:2 F#4", "E4:2 C#4", "B3:4", "C#4:2 E4", "D#4:2 F#4", "E4:2 C#4", "E4:2 D#4"]
CODA_FLUTE = ["C#6:1.5 B5:.5 A5:1 E5", "B5:2 G#5", "r:4", "r:4", "E5:4", "r:4"]
CODA_OBOE = ["r:4", "r:4", "A5:1.5 G#5:.5 F#5:1 E5", "F#5:2 E5:1 D#5", "r:4", "r:4"]

FLOW = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, 3), (2.5, 2), (3, 1), (3.5, 0)]
FLOW_HALF = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, "B"), (2.5, 0), (3, 1), (3.5, 2)]


def accompany(piano, changes, vel, low=pitch("F#3"), high=pitch("E5")):
    full = [c for c in changes if c[1] >= 4]
    half = [c for c in changes if c[1] < 4]
    arpeggio(piano, full, low, high, FLOW, vel, ring=2.5, bass_low=pitch("D2"))
    arpeggio(piano, half, low, high, FLOW_HALF, vel, ring=1.5, bass_low=pitch("D2"))


def bass(part, changes, low, vel):
    for t, d, ch in changes:
        part.note(t, d, ch.bass_at(low), vel)


def build():
    piece = Piece("Epilogue", BPM)
    piece.gain_db = 1.5
    piano = piece.part("Piano", 0, 0, 122, pan=54, reverb=70, seed=31)
    flute = piece.part("Flute", 1, 73, 116, pan=70, reverb=75, seed=32)
    oboe = piece.part("Oboe", 2, 68, 110, pan=46, reverb=75, seed=33)
    violins = piece.part("Violins", 3, 48, 84, pan=80, reverb=85, seed=34)
    strings = piece.part("Strings", 4, 49, 104, pan=60, reverb=90, seed=35)
    cello = piece.part("Cello", 5, 42, 104, pan=40, reverb=80, seed=36)
    contra = piece.part("Contrabass", 6, 43, 100, pan=50, reverb=80, seed=37)
    horn = piece.part("Horn", 7, 60, 100, pan=36, reverb=85, seed=38)
    harp = piece.part("Harp", 8, 46, 108, pan=24, reverb=85, seed=39)
    timp = piece.part("Timpani", 10, 47, 80, pan=64, reverb=80, seed=40)
    kit = piece.part("Cymbals", 9, 0, 70, pan=64, reverb=90, seed=41)

    arc = lambda b: 5 - 2.5 * abs(b - 2)  # a bar swells to its middle and relaxes

    # Intro and A: the piano sets the flow; the flute sings over it.
    accompany(piano, INTRO, 84)
    accompany(piano, A1, 74)
    melody(flute, 16, THEME + THEME_END, 78, legato=0.96, shape=arc)
    bass(cello, A1, pitch("D2"), 60)
    cello.ramp(16, 48, 70, 96, step=1)
    pad(strings, A1[4:], pitch("A3"), pitch("D5"), 3, 46)
    strings.ramp(32, 48, 50, 90, step=0.5)

    # A again: oboe takes the tune, flute winds round it, harp joins.
    accompany(piano, A2, 72)
    melody(oboe, 48, THEME + THEME_END2, 80, legato=0.96, shape=arc)
    melody(flute, 48, FLUTE_AROUND, 62, legato=0.95)
    bass(cello, A2, pitch("D2"), 64)
    pad(strings, A2, pitch("A3"), pitch("D5"), 3, 50)
    strings.ramp(48, 80, 80, 90, step=1)
    for t, d, ch in A2:
        if d >= 4:
            arpeggio(harp, [(t + 2, 2, ch)], pitch("D4"), pitch("D6"),
                     [(0, 0), (0.25, 1), (0.5, 2), (0.75, 3)], 54, ring=2)

    # B: the strings' own song, the horn answering below; growing.
    accompany(piano, B, 74)
    melody(violins, 80, SONG, 84, legato=0.99, shape=arc)
    melody(horn, 80, HORN_B, 66, legato=0.98)
    violins.ramp(80, 112, 84, 118, step=1)
    bass(cello, B, pitch("D2"), 70)
    cello.ramp(80, 112, 96, 118, step=1)
    pad(strings, B, pitch("A3"), pitch("E5"), 4, 54)
    strings.ramp(80, 112, 90, 116, step=1)
    piece.tempo(108, 66)
    for i in range(16):  # a cymbal swell into the change of key
        kit.note(108 + i * 0.25, 0.25, 51, 22 + i * 3, human=0)
    for i in range(8):
        timp.note(110 + i * 0.25, 0.25, pitch("B2"), 40 + i * 6, human=0)

    # A a tone higher: everyone, the tune in octaves.
    piece.tempo(112, 72)
    kit.note(112, 2, 49, 64)
    timp.note(112, 1.5, pitch("E2"), 88)
    accompany(piano, A3, 80, low=pitch("G#3"), high=pitch("F#5"))
    # The top line takes the tune up an octave, carrying on from where the song left
    # it, then comes down on a line of its own; the lower line keeps the tune.
    melody(violins, 112, THEME, 90, legato=0.99, shape=arc, shift=14)
    melody(violins, 128, TOP_END, 90, legato=0.99, shape=arc)
    melody(violins, 112, THEME, 80, legato=0.99, shape=arc, shift=2)
    melody(violins, 128, THEME_HIGH_END, 80, legato=0.99, shape=arc)
    violins.cc(112, 11, 112)
    melody(flute, 112, THEME, 70, legato=0.96, shift=2)
    melody(flute, 128, THEME_HIGH_END, 70, legato=0.96)
    melody(horn, 112, HORN_A3, 74, legato=0.98)
    bass(cello, A3, pitch("E2"), 78)
    bass(contra, A3, pitch("E1"), 74)
    pad(strings, A3, pitch("B3"), pitch("F#5"), 4, 58)
    strings.ramp(136, 144, 116, 96, step=0.5)
    violins.ramp(136, 144, 112, 96, step=0.5)
    for t in (112, 128):
        timp.note(t + 14, 0.5, pitch("B2"), 70)
        timp.note(t + 15, 0.5, pitch("E2"), 80)

    # Coda: slowing down, the tune's first steps once more, and a last long chord.
    piece.tempo(144, 68)
    piece.tempo(152, 62)
    piece.tempo(156, 56)
    piece.tempo(160, 50)
    accompany(piano, CODA[:4], 72, low=pitch("G#3"), high=pitch("F#5"))
    melody(flute, 144, CODA_FLUTE, 70, legato=0.97, shape=arc)
    melody(oboe, 144, CODA_OBOE, 66, legato=0.97, shape=arc)
    bass(cello, CODA[:4], pitch("E2"), 64)
    bass(contra, CODA[:4], pitch("E1"), 58)
    pad(strings, CODA[:4], pitch("B3"), pitch("F#5"), 4, 52)
    strings.ramp(144, 160, 96, 70, step=0.5)
    cello.ramp(144, 160, 110, 80, step=0.5)
    contra.cc(144, 11, 100)

    # Last chord: piano rolls it, harp climbs through it, strings hold and fade.
    roll = [pitch(n) for n in ("E2", "B2", "E3", "G#3", "B3", "E4", "G#4", "B4")]
    for i, p in enumerate(roll):
        piano.note(160 + i * 0.09, 7.6 - i * 0.09, p, 84 - i * 3)
    up = [pitch(n) for n in ("E4", "G#4", "B4", "E5", "G#5", "B5", "E6")]
    for i, p in enumerate(up):
        harp.note(161 + i * 0.25, 6.5 - i * 0.25, p, 50 - i * 2)
    for p in (pitch("G#4"), pitch("B4"), pitch("E5")):
        strings.note(160, 8, p, 52)
    cello.note(160, 8, pitch("E2"), 58)
    contra.note(160, 8, pitch("E1"), 52)
    flute.note(164, 3.5, pitch("G#5"), 48)
    strings.ramp(160, 168, 70, 30, step=0.5)
    cello.ramp(160, 168, 80, 30, step=0.5)
    contra.ramp(160, 168, 100, 40, step=0.5)
    kit.note(160, 2, 81, 40, human=0)
    swell(flute)
    swell(oboe)
    swell(horn)
    piece.end = 169
    return piece
