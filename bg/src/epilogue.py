"""The epilogue: gentle, in D major, played once under the manual's epilogue show.

The piece follows the story the show tells, one section to each page of text, and is
timed to the show so that its closing phrase comes under the thank-you line.

How the show runs, in milliseconds (each wait lasts one tick more than asked, so a
30-ms wait is 31 ms on a 1-ms clock):
  title: 16 x 41 blinds + 1001 + 26 x 31 fade in + 2001 + 26 x 31 fade out = 5270,
         then a period of 3000 before entry 1;
  each entry: its fade, 26 x 31 = 806, then a period of 3500: one entry every 4306;
  the music is opened when entry 17 has faded in (ENTRY 17 + 806 from its start);
  entry k (k > 17) starts to fade in at (k - 17) x 4306 - 806 after that;
  entry 96, the thank-you line, fades in at 339.368 s and is shown whole at 340.174 s;
  it stands alone for 13000 before entry 97 (empty) at 353.174 s;
  "おしまい" is drawn at 353.980 s; 10000 after the period was set comes entry 98
  (empty) at 363.980 s, and 3500 after its fade the program ends: 368.286 s.

So each page of the story lasts 14 x 4306 = 60.284 s of music. Sections:
  (page 2, from entry 18) the letter: piano over low strings, then the tune on the flute
  (page 3) coming home safe: the tune on the oboe; the long walk along the iron road
  (page 4) the great iron serpent: slow and wide, the horn calling; it would not move
  (page 5) the three who left, singing on the way home: the strings' song, then the
      tune a tone higher for everyone
  (page 6) bored after eight years, off to the castle with crayfish: pizzicato,
      clarinet and bassoon
  (page 7) the princess runs out to go fishing: the tune, bright; the credits broaden
  (thank-you line) the tune's first steps once more, slowing, and a last long chord
      that has died away well before the program ends.
"""

from music import Piece, chart, pad, pitch, melody, arpeggio, swell, drums

# --- the show's clock, in seconds from the moment the music starts ---------------
FADE = 26 * 0.031
ENTRY = FADE + 3.5


def entry_starts(k):
    """When entry k (18..96) starts to fade in."""
    return (k - 17) * ENTRY - FADE


THANKS_IN = entry_starts(96)          # 339.368
THANKS_SHOWN = THANKS_IN + FADE        # 340.174
THANKS_END = THANKS_SHOWN + 13.0       # 353.174: entry 97
OSHIMAI = THANKS_END + FADE            # 353.980
PROGRAM_END = THANKS_END + FADE + 10.0 + FADE + 3.5  # 368.286
PAGE = {p: entry_starts(14 * p - 13) for p in range(3, 8)}  # 50.9, 111.2, 171.4, 231.7, 292.0

# --- sections, in beats -----------------------------------------------------------
S_LETTER, S_HOME, S_SERPENT, S_SONG, S_PLAY, S_PRINCESS = 0, 56, 128, 192, 264, 344
CLOSE = 400   # the closing phrase: two bars under the thank-you line
LAST = 408    # the last chord
END = 418

INTRO = chart("D | Bm | G | Asus4 A", start=0)
A1 = chart("D | A/C# | Bm | D/A | G | D/F# | Em7 | A7", start=16)
LINK1 = chart("Em7 | A7sus4 A7", start=48)
A2 = chart("D | A/C# | Bm | D/A | G | A | D | D F#7", start=56)
WALK = chart("Bm | Bm/A | G | D/F# | Em7 | G | Em7 | F#7sus4 F#7", start=88)
LINK2 = chart("G | F#sus4 F#", start=120)
SERPENT = chart("Bm | G | Em | F# | Bm | G | C | F#7", start=128)
STILL = chart("G | A | F#m | Bm | Em7 | A | D | D7", start=160)
SONG = chart("G | A | F#m | Bm | Em7 | F#m7 | Gmaj7 | B7sus4 B7", start=192)
A3 = chart("E | B/D# | C#m | E/B | A | B | C#m A | B7sus4 B7", start=224)
LINK4 = chart("E | E7", start=256)
PLAY1 = chart("A | F#m | D | E7 | A | F#m | Bm7 E7 | A", start=264)
PLAY2 = chart("D | E | C#m | F#m | Bm7 | E7 | A | A7", start=296)
PLAY3 = chart("D | Bm7 | Em7 | A7sus4 A7", start=328)
A4 = chart("D | A/C# | Bm | D/A | G | D/F# | Em7 | A7", start=344)
CREDITS = chart("G | A | F#m7 | Bm7 | Em7 | A7sus4 A7", start=376)
CLOSING = chart("Gmaj7 | A7sus4 A7", start=400)

THEME = ["A4:1 D5 F#5:1.5 E5:.5", "E5:2.5 D5:.5 C#5:1", "D5:1 F#5 B5:1.5 A5:.5", "A5:3 r:1"]
THEME_END = ["B5:1.5 A5:.5 G5:1 D5", "A5:1.5 G5:.5 F#5:1 D5", "G5:1 F#5 E5 D5:.5 E5", "E5:3 r:1"]
THEME_END2 = ["B5:1.5 C#6:.5 D6:1 B5", "A5:1.5 G5:.5 F#5:1 E5", "F#5:1.5 E5:.5 D5:2", "r:2 F#5:1 E5"]
LINK1_FLUTE = ["r:1 E5 F#5 G5", "A5:3 r:1"]
FLUTE_AROUND = ["r:4", "r:3 A5:.5 B5", "D6:2 r:2", "r:1 D6 E6 F#6",
                "r:4", "r:4", "r:4", "r:2 C#6:1 A#5"]
WALK_TUNE = ["F#4:1.5 B4:.5 C#5:1 D5", "C#5:2 B4:1 A4", "B4:1.5 A4:.5 G4:1 B4", "A4:3 r:1",
             "G4:1.5 A4:.5 B4:1 D5", "D5:2 B4:1 D5", "B4:1.5 A4:.5 G4:1 E4", "F#4:2 A#4:2"]
WALK_BASS = ["B2:1 C#3 D3 F#3", "A2:1 B2 C#3 A2", "G2:1 A2 B2 D3", "F#2:1 A2 D3 F#2",
             "E2:1 G2 B2 E2", "G2:1 B2 D3 G2", "E2:1 F#2 G2 B2", "F#2:1 E2 C#2 F#2"]
WALK_HORN = ["r:4", "r:4", "r:4", "r:4", "B3:4", "D4:4", "E4:2 G4", "F#4:4"]
LINK2_HORN = ["D4:4", "C#4:4"]
SERPENT_HORN = ["F#3:1.5 B3:.5 D4:2", "D4:1.5 B3:.5 G3:2", "E3:1.5 G3:.5 B3:2", "A#3:2 C#4:2",
                "F#4:1.5 D4:.5 B3:2", "B3:1.5 D4:.5 G4:2", "G4:2 E4:2", "F#4:3 r:1"]
SERPENT_HIGH = ["r:4", "r:4", "r:4", "r:4", "D6:4", "D6:4", "E6:4", "C#6:2 A#5:2"]
STILL_OBOE = ["B5:1.5 A5:.5 G5:1 D5", "C#5:1.5 D5:.5 E5:2", "F#5:1.5 E5:.5 C#5:1 A4", "B4:3 r:1",
              "G5:1.5 F#5:.5 E5:1 D5", "C#5:1 E5 A5:2", "F#5:3 r:1", "r:4"]
STILL_BASSOON = ["r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "A3:.5 F#3 D3 C3 A2:1 r:1"]
SONG_TUNE = ["B5:2.5 A5:.5 G5:1", "A5:2 E5:1 F#5:.5 G5", "A5:1.5 G5:.5 F#5:1 C#5", "D6:2 C#6:1 B5",
             "B5:1.5 A5:.5 G5:1 E5", "C#6:1.5 B5:.5 A5:1 E5", "D5:1 F#5 B5 D6", "E6:2 D#6:1 B5"]
HORN_SONG = ["G3:2 B3", "C#4:2 E4", "F#4:2 E4", "D4:4", "E4:2 G4", "F#4:2 E4", "D4:2 F#4", "E4:2 D#4"]
THEME_HIGH_END = ["C#6:1.5 D#6:.5 E6:1 C#6", "B5:1.5 A5:.5 G#5:1 F#5", "G#5:2 A5:1 C#6", "B5:3 r:1"]
TOP_END = ["C#7:1.5 B6:.5 A6:1 E6", "F#6:1.5 E6:.5 D#6:1 B5", "E6:2 C#6:1 E6", "E6:2 D#6:1 B5"]
HORN_A3 = ["B3:2 E4", "D#4:2 F#4", "E4:2 C#4", "B3:4", "C#4:2 E4", "D#4:2 F#4", "E4:2 C#4", "E4:2 D#4"]
LINK4_FLUTE = ["B5:1 G#5 E5 B4", "D5:2 r:2"]
PLAY_CLARINET = ["E5:.5 C#5 E5 A5 E5:1 C#5", "F#5:.5 E5 C#5 A4 C#5:2", "D5:.5 F#5 A5 F#5 D5:1 A4",
                 "B4:.5 C#5 D5 E5 G#5:1 r:1", "E5:.5 C#5 E5 A5 C#6:1 A5", "A5:.5 F#5 C#5 F#5 A5:2",
                 "D5:.5 F#5 B5 A5 G#5:.5 E5 D5 B4", "A4:1 C#5:.5 E5 A5:1 r:1",
                 "r:4", "r:4", "r:4", "r:4",
                 "F#5:.5 E5 D5 B4 A4:1 D5", "G#4:.5 B4 E5 G#5 B5:1 G#5", "A5:1.5 E5:.5 C#5:1 E5",
                 "G5:2 E5:1 C#5"]
PLAY_BASSOON = ["r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "r:4",
                "D3:.5 F#3 A3 D4 A3:1 F#3", "E3:.5 G#3 B3 E4 B3:1 G#3", "C#4:.5 B3 G#3 E3 C#3:2",
                "F#3:.5 A3 C#4 F#4 E4:1 C#4"]
PLAY_GLOCK = ["r:4", "r:4", "r:4", "r:2 G#6:1 r:1", "r:4", "r:4", "r:4", "r:2 A6:.5 C#7 E7:1",
              "r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "r:4", "r:3 A6:1"]
PLAY3_FLUTE = ["F#5:1 A5 D6 F#6", "F#6:1.5 E6:.5 D6:1 B5", "G5:1 B5 E6:1.5 D6:.5", "D6:2 C#6:2"]
PRINCESS_GLOCK = ["r:4", "r:4", "r:2 B6:1.5 A6:.5", "A6:3 r:1", "r:4", "r:4", "r:4", "r:4"]
CREDITS_TUNE = ["B5:2 A5:1 G5", "A5:2 E5:1 C#6", "C#6:2 A5:1 F#5", "B5:2 F#5:2",
                "G5:1.5 F#5:.5 E5:1 B4", "E5:2 C#5:2"]
CREDITS_HORN = ["D4:2 B3", "C#4:2 E4", "E4:2 C#4", "D4:4", "B3:2 D4", "D4:2 C#4"]
CLOSING_TUNE = ["A4:1 D5 F#5:1.5 E5:.5", "E5:2 D5:.5 C#5:.5 E5:1"]

FLOW = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, 3), (2.5, 2), (3, 1), (3.5, 0)]
FLOW_HALF = [(0, "B"), (0.5, 0), (1, 1), (1.5, 2), (2, "B"), (2.5, 0), (3, 1), (3.5, 2)]
SLOW = [(0, "B"), (1, 0), (2, 1), (3, 2)]


def accompany(piano, changes, vel, low=pitch("F#3"), high=pitch("E5"), flow=FLOW, half=FLOW_HALF):
    full = [c for c in changes if c[1] >= 4]
    short = [c for c in changes if c[1] < 4]
    arpeggio(piano, full, low, high, flow, vel, ring=2.5, bass_low=pitch("D2"))
    arpeggio(piano, short, low, high, half, vel, ring=1.5, bass_low=pitch("D2"))


def bass(part, changes, low, vel):
    for t, d, ch in changes:
        part.note(t, d, ch.bass_at(low), vel)


def fit(piece, b0, b1, seconds, shape=lambda x: 1.0, step=0.5):
    """Tempo for beats b0..b1 so that they last exactly seconds; shape(x), x from 0 to 1
    across the section, gives the relative tempo (a ritardando falls below 1)."""
    n = int(round((b1 - b0) / step))
    rel = [shape(i / n) for i in range(n)]
    bpm = sum(60 * step / r for r in rel) / seconds  # the tempo that shape 1 stands for
    last = None
    for i, r in enumerate(rel):
        value = round(bpm * r, 3)
        if value != last:
            piece.tempo(b0 + i * step, value)
            last = value


def beat_at(piece, seconds):
    """The beat that sounds at the given second (inverse of Piece.seconds)."""
    lo, hi = 0.0, float(END)
    for _ in range(60):
        mid = (lo + hi) / 2
        lo, hi = (mid, hi) if piece.seconds(mid) < seconds else (lo, mid)
    return lo


def timing(piece):
    piece.tempi = []
    fit(piece, S_LETTER, S_HOME, PAGE[3], lambda x: 1.0 if x < 0.9 else 0.94)
    fit(piece, S_HOME, S_SERPENT, PAGE[4] - PAGE[3], lambda x: 1.0 if x < 0.93 else 0.9)
    fit(piece, S_SERPENT, S_SONG, PAGE[5] - PAGE[4], lambda x: 1.0 if x < 0.95 else 0.92)
    fit(piece, S_SONG, S_PLAY, PAGE[6] - PAGE[5],
        lambda x: 0.92 if x < 0.22 else (1.0 if x < 0.95 else 0.9))
    fit(piece, S_PLAY, S_PRINCESS, PAGE[7] - PAGE[6], lambda x: 1.0 if x < 0.85 else 0.88)
    # the princess's tune keeps its pace; the credits broaden into the close
    fit(piece, S_PRINCESS, CLOSE, THANKS_IN - PAGE[7],
        lambda x: 1.0 if x < 32 / 56 else 1.0 - 0.22 * (x - 32 / 56) / (24 / 56))
    for i in range(16):  # the last phrase slows from 58 to 50 beats a minute
        piece.tempo(CLOSE + i * 0.5, round(58 - 8 * i / 15, 3))
    piece.tempo(LAST, 48)


def build():
    piece = Piece("Epilogue", 66)
    piece.gain_db = 4.5
    piece.velocity_db = 2.0
    timing(piece)
    piano = piece.part("Piano", 0, 0, 127, pan=54, reverb=70, seed=31)
    flute = piece.part("Flute", 1, 73, 116, pan=70, reverb=75, seed=32)
    oboe = piece.part("Oboe", 2, 68, 110, pan=46, reverb=75, seed=33)
    violins = piece.part("Violins", 3, 48, 84, pan=80, reverb=85, seed=34)
    strings = piece.part("Strings", 4, 49, 104, pan=60, reverb=90, seed=35)
    cello = piece.part("Cello", 5, 42, 104, pan=40, reverb=80, seed=36)
    contra = piece.part("Contrabass", 6, 43, 100, pan=50, reverb=80, seed=37)
    horn = piece.part("Horn", 7, 60, 100, pan=36, reverb=85, seed=38)
    harp = piece.part("Harp", 8, 46, 108, pan=24, reverb=85, seed=39)
    kit = piece.part("Percussion", 9, 0, 70, pan=64, reverb=90, seed=41)
    timp = piece.part("Timpani", 10, 47, 80, pan=64, reverb=80, seed=40)
    clarinet = piece.part("Clarinet", 11, 71, 104, pan=72, reverb=70, seed=42)
    pizz = piece.part("Pizzicato", 12, 45, 100, pan=56, reverb=70, seed=43)
    glock = piece.part("Glockenspiel", 13, 9, 70, pan=90, reverb=90, seed=44)
    bassoon = piece.part("Bassoon", 14, 70, 104, pan=40, reverb=70, seed=45)

    arc = lambda b: 5 - 2.5 * abs(b - 2)  # a bar swells to its middle and relaxes

    # The letter: the piano, then the flute sings the tune over it.
    accompany(piano, INTRO, 106)
    # a low bed of strings under the opening, so that it does not come in faint
    pad(strings, INTRO, pitch("A3"), pitch("D5"), 3, 44)
    bass(cello, INTRO, pitch("D2"), 54)
    strings.ramp(0, 16, 96, 60, step=1)
    cello.cc(0, 11, 84)
    accompany(piano, A1 + LINK1, 72)
    melody(flute, 16, THEME + THEME_END + LINK1_FLUTE, 76, legato=0.96, shape=arc)
    bass(cello, A1 + LINK1, pitch("D2"), 60)
    cello.ramp(16, 56, 70, 96, step=1)
    pad(strings, A1[4:] + LINK1, pitch("A3"), pitch("D5"), 3, 46)
    strings.ramp(32, 56, 50, 90, step=0.5)

    # Home safe: the oboe takes the tune, the flute winds round it, harp joins.
    accompany(piano, A2, 72)
    melody(oboe, 56, THEME + THEME_END2, 80, legato=0.96, shape=arc)
    melody(flute, 56, FLUTE_AROUND, 62, legato=0.95)
    bass(cello, A2, pitch("D2"), 64)
    pad(strings, A2, pitch("A3"), pitch("D5"), 3, 50)
    strings.ramp(56, 88, 90, 80, step=1)
    for t, d, ch in A2:
        if d >= 4:
            arpeggio(harp, [(t + 2, 2, ch)], pitch("D4"), pitch("D6"),
                     [(0, 0), (0.25, 1), (0.5, 2), (0.75, 3)], 54, ring=2)
    # ... and the long walk: a plucked bass walking, the clarinet telling of it.
    melody(pizz, 88, WALK_BASS, 78, legato=0.5)
    melody(clarinet, 88, WALK_TUNE, 74, legato=0.95, shape=arc)
    melody(horn, 88, WALK_HORN + LINK2_HORN, 58, legato=0.98)
    accompany(piano, WALK, 58, flow=SLOW, half=SLOW)
    pad(strings, WALK, pitch("A3"), pitch("D5"), 3, 44)
    strings.ramp(88, 120, 80, 92, step=1)
    for bar in range(8):
        drums(kit, 88 + 4 * bar, {"shaker": "..o...o...o...x."}, vel=34)
    accompany(piano, LINK2, 64)
    bass(cello, LINK2, pitch("D2"), 66)
    pad(strings, LINK2, pitch("A3"), pitch("D5"), 3, 54)
    strings.ramp(120, 128, 92, 104, step=0.5)
    for i in range(8):
        timp.note(124 + i * 0.5, 0.5, pitch("F#2"), 34 + i * 5, human=0)

    # The iron serpent: wide and slow, the horn calling over a low hum.
    timp.note(128, 2, pitch("B2"), 70)
    accompany(piano, SERPENT, 62, low=pitch("D3"), high=pitch("B4"), flow=SLOW, half=SLOW)
    melody(horn, 128, SERPENT_HORN, 72, legato=0.98)
    melody(violins, 128, SERPENT_HIGH, 70, legato=0.99)
    violins.ramp(144, 160, 80, 104, step=1)
    bass(cello, SERPENT, pitch("D2"), 66)
    bass(contra, SERPENT, pitch("E1"), 64)
    pad(strings, SERPENT, pitch("F#3"), pitch("D5"), 3, 50)
    strings.ramp(128, 160, 84, 110, step=1)
    for t, d, ch in SERPENT:
        timp.note(t, 1, ch.bass_at(pitch("E2")), 46)
        timp.note(t + 2, 1, ch.bass_at(pitch("E2")), 36)
    for i in range(16):  # a cymbal swell as the great thing looms
        kit.note(152 + i * 0.5, 0.5, 51, 18 + i * 3, human=0)
    # It would not move: the oboe, warmer, and the bassoon shrugs.
    accompany(piano, STILL, 66)
    melody(oboe, 160, STILL_OBOE, 78, legato=0.96, shape=arc)
    melody(bassoon, 160, STILL_BASSOON, 74, legato=0.6)
    bass(cello, STILL, pitch("D2"), 62)
    pad(strings, STILL, pitch("A3"), pitch("D5"), 3, 48)
    strings.ramp(160, 192, 100, 82, step=1)
    violins.ramp(160, 192, 104, 84, step=1)

    # The three who left, singing on the way home: the strings' own song.
    accompany(piano, SONG, 74)
    melody(violins, 192, SONG_TUNE, 84, legato=0.99, shape=arc)
    melody(horn, 192, HORN_SONG, 66, legato=0.98)
    violins.ramp(192, 224, 84, 108, step=1)
    bass(cello, SONG, pitch("D2"), 70)
    cello.ramp(192, 224, 96, 108, step=1)
    pad(strings, SONG, pitch("A3"), pitch("E5"), 4, 54)
    strings.ramp(192, 224, 90, 106, step=1)
    for i in range(16):  # a cymbal swell into the change of key
        kit.note(220 + i * 0.25, 0.25, 51, 22 + i * 3, human=0)
    for i in range(8):
        timp.note(222 + i * 0.25, 0.25, pitch("B2"), 40 + i * 6, human=0)
    # ... and everyone's song: the tune a tone higher, in octaves.
    kit.note(224, 2, 49, 64)
    timp.note(224, 1.5, pitch("E2"), 88)
    accompany(piano, A3, 80, low=pitch("G#3"), high=pitch("F#5"))
    melody(violins, 224, THEME, 90, legato=0.99, shape=arc, shift=14)
    melody(violins, 240, TOP_END, 90, legato=0.99, shape=arc)
    melody(violins, 224, THEME, 80, legato=0.99, shape=arc, shift=2)
    melody(violins, 240, THEME_HIGH_END, 80, legato=0.99, shape=arc)
    violins.cc(224, 11, 100)
    melody(flute, 224, THEME, 70, legato=0.96, shift=2)
    melody(flute, 240, THEME_HIGH_END + LINK4_FLUTE, 70, legato=0.96)
    melody(horn, 224, HORN_A3, 74, legato=0.98)
    bass(cello, A3 + LINK4, pitch("E2"), 78)
    bass(contra, A3, pitch("E1"), 74)
    pad(strings, A3 + LINK4, pitch("B3"), pitch("F#5"), 4, 58)
    strings.ramp(248, 264, 106, 80, step=0.5)
    violins.ramp(248, 256, 100, 90, step=0.5)
    timp.note(238, 0.5, pitch("B2"), 70)
    timp.note(239, 0.5, pitch("E2"), 80)
    accompany(piano, LINK4, 66, low=pitch("G#3"), high=pitch("F#5"))

    # Bored after eight years, off to the castle with crayfish: oom-pah on plucked
    # strings, the clarinet's tune, the bassoon answering, wood blocks clicking.
    for t, d, ch in PLAY1 + PLAY2 + PLAY3:
        low = ch.bass_at(pitch("E2"))
        notes = [ch.tone(k, pitch("C#4")) for k in range(3)]
        for b in range(int(d)):
            if b % 2 == 0:
                pizz.note(t + b, 0.4, low if b == 0 else ch.tone(2, pitch("E2")), 92)
            else:
                for p in notes:
                    pizz.note(t + b, 0.3, p, 64)
    melody(clarinet, 264, PLAY_CLARINET, 86, legato=0.7)
    melody(bassoon, 264, PLAY_BASSOON, 80, legato=0.65)
    melody(glock, 264, PLAY_GLOCK, 70, legato=0.9)
    pad(strings, PLAY2, pitch("A3"), pitch("D5"), 3, 40)
    strings.ramp(264, 296, 70, 70, step=8)
    for bar in range(16):
        drums(kit, 264 + 4 * bar, {"block_hi": "....x.......x.x.", "block_lo": "x.......x......."}
              if bar % 4 != 3 else {"block_hi": "....x.x.x.......", "block_lo": "x..............."}, vel=40)
    # the last bars turn back towards home key: flute and clarinet together
    melody(flute, 328, PLAY3_FLUTE, 72, legato=0.9, shape=arc)
    melody(clarinet, 328, PLAY3_FLUTE, 66, legato=0.9, shape=arc, shift=-12)
    accompany(piano, PLAY3, 64)
    bass(cello, PLAY3, pitch("D2"), 64)
    pad(strings, PLAY3, pitch("A3"), pitch("D5"), 3, 50)
    strings.ramp(328, 344, 70, 96, step=0.5)
    up = [pitch(n) for n in ("A3", "C#4", "E4", "G4", "A4", "C#5", "E5", "G5", "A5", "C#6", "E6")]
    for i, p in enumerate(up):  # a harp run into the princess's page
        harp.note(342 + i * 2 / len(up), 2 - i * 2 / len(up) + 0.5, p, 46 + i * 2, human=0)

    # The princess runs out of the castle: the tune, bright, everyone light on their feet.
    kit.note(344, 1, 81, 50, human=0)
    accompany(piano, A4, 76)
    melody(flute, 344, THEME + THEME_END, 80, legato=0.9, shape=arc)
    melody(violins, 344, THEME + THEME_END, 74, legato=0.9, shape=arc, shift=-12)
    melody(glock, 344, PRINCESS_GLOCK, 62, legato=0.9)
    violins.cc(344, 11, 100)
    for t, d, ch in A4:
        for b in range(int(d)):
            pizz.note(t + b, 0.4, ch.bass_at(pitch("D2")) + (7 if b % 2 else 0), 76 if b == 0 else 60)
        arpeggio(harp, [(t + 2, 2, ch)], pitch("D4"), pitch("D6"),
                 [(0, 0), (0.25, 1), (0.5, 2), (0.75, 3)], 48, ring=2)
    for bar in range(8):
        kit.note(344 + 4 * bar + 2, 0.5, 81, 30, human=2)
    pad(strings, A4, pitch("A3"), pitch("D5"), 3, 46)
    strings.ramp(344, 376, 90, 96, step=1)
    # The credits: the strings' song broadens, the horn beneath.
    accompany(piano, CREDITS, 70)
    melody(violins, 376, CREDITS_TUNE, 84, legato=0.99, shape=arc)
    melody(horn, 376, CREDITS_HORN, 64, legato=0.98)
    violins.ramp(376, 396, 100, 116, step=1)
    violins.ramp(396, 400, 116, 96, step=0.5)
    bass(cello, CREDITS, pitch("D2"), 70)
    bass(contra, CREDITS, pitch("E1"), 64)
    pad(strings, CREDITS, pitch("A3"), pitch("E5"), 4, 56)
    strings.ramp(376, 400, 96, 112, step=1)
    kit.note(396, 4, 51, 30, human=0)

    # Under the thank-you line: the tune's first steps once more, slowing, resolving.
    accompany(piano, CLOSING, 66, flow=SLOW, half=[(0, "B"), (1, 0)])
    melody(flute, 400, CLOSING_TUNE, 72, legato=0.98, shape=arc)
    bass(cello, CLOSING, pitch("D2"), 62)
    bass(contra, CLOSING, pitch("E1"), 56)
    pad(strings, CLOSING, pitch("A3"), pitch("E5"), 4, 50)
    strings.ramp(400, 408, 104, 84, step=0.5)
    cello.ramp(400, 408, 118, 96, step=0.5)

    # The last chord: piano rolls it, harp climbs through it, strings hold and fade.
    roll = [pitch(n) for n in ("D2", "A2", "D3", "F#3", "A3", "D4", "F#4", "A4")]
    for i, p in enumerate(roll):
        piano.note(LAST + i * 0.09, 7.6 - i * 0.09, p, 80 - i * 3)
    up = [pitch(n) for n in ("D4", "F#4", "A4", "D5", "F#5", "A5", "D6")]
    for i, p in enumerate(up):
        harp.note(LAST + 1 + i * 0.25, 6.5 - i * 0.25, p, 48 - i * 2)
    flute.note(LAST, 4, pitch("D5"), 62)
    for p in (pitch("F#4"), pitch("A4"), pitch("D5")):
        strings.note(LAST, 8, p, 50)
    cello.note(LAST, 8, pitch("D2"), 56)
    contra.note(LAST, 8, pitch("D2"), 50)
    strings.ramp(LAST, LAST + 8, 84, 30, step=0.5)
    cello.ramp(LAST, LAST + 8, 96, 30, step=0.5)
    contra.ramp(LAST, LAST + 8, 100, 40, step=0.5)
    kit.note(LAST, 2, 81, 40, human=0)
    # and one soft chime as the closing word is written
    chime = round(beat_at(piece, OSHIMAI) * 4) / 4
    glock.note(chime, 2, pitch("D6"), 40, human=0)
    harp.note(chime, 2, pitch("A5"), 36, human=0)
    swell(flute)
    swell(oboe)
    swell(horn)
    piece.end = END
    return piece
