"""Body parts shared by the figures: head, eyes, brows, mouths, hands, shoes."""
import math

from PIL import Image, ImageChops, ImageDraw

from sketch import SS, dark, ellipse_pts, light, mix, spline

LASH = (62, 36, 48)
MOUTH = (150, 50, 60)


def head(p, hx, hy, r, skin, chin=1.06, jaw=0.84, ears=True):
    """Front-facing head; (hx, hy) is the middle of the skull circle.
    Returns the face mask for clipping blush and hair shadow."""
    if ears:
        for s in (-1, 1):
            p.ell(hx + s * 0.96 * r, hy + 0.22 * r, 0.16 * r, 0.24 * r, skin, shade=0.6, hi=0)
    pts = [(hx, hy - r), (hx + 0.74 * r, hy - 0.7 * r), (hx + 1.0 * r, hy + 0.05 * r),
           (hx + jaw * r, hy + 0.58 * r), (hx + 0.36 * r, hy + 0.95 * chin * r),
           (hx, hy + chin * r),
           (hx - 0.36 * r, hy + 0.95 * chin * r), (hx - jaw * r, hy + 0.58 * r),
           (hx - 1.0 * r, hy + 0.05 * r), (hx - 0.74 * r, hy - 0.7 * r)]
    return p.shape(pts, skin, shade=r * 0.09, hi=r * 0.05)


def blush(p, hx, hy, r, face, alpha=0.35, col=(255, 130, 140)):
    for s in (-1, 1):
        p.glow(ellipse_pts(hx + s * 0.55 * r, hy + 0.55 * r, 0.2 * r, 0.1 * r, n=24),
               col, alpha, blur=r * 0.05, clip=face, smooth=False)


def eye(p, x, y, w, h, iris, side, kind='round', look=(0, 0)):
    """One eye. side is -1 for the eye on the viewer's left, +1 on the right.
    kind: round (big, open), narrow (sharp, confident), calm (level lid),
    small (kind, little), dreamy (half-closed lid)."""
    s = side
    top = {'round': 0.58, 'narrow': 0.42, 'calm': 0.38, 'small': 0.5, 'dreamy': 0.18}[kind]
    bot = {'round': 0.42, 'narrow': 0.32, 'calm': 0.32, 'small': 0.4, 'dreamy': 0.4}[kind]
    tilt = {'round': 0.0, 'narrow': -0.18, 'calm': -0.06, 'small': 0.0, 'dreamy': 0.04}[kind]
    outer = (x + s * w / 2, y + tilt * h)
    inner = (x - s * w / 2, y + 0.08 * h)
    upper = [outer, (x + s * w * 0.28, y - top * h * 0.95 + tilt * h * 0.5), (x, y - top * h),
             (x - s * w * 0.32, y - top * h * 0.8), inner]
    lower = [inner, (x - s * w * 0.2, y + bot * h * 0.9), (x + s * w * 0.15, y + bot * h),
             outer]
    region = spline([upper[0] + ('c',)] + upper[1:4] + [inner + ('c',)] + lower[1:3])
    m = p.mask_poly(region)
    p.paint(m, (255, 255, 255))
    # iris, clipped by the lids
    ix, iy = x + look[0] * w + s * 0.04 * w, y + 0.05 * h + look[1] * h
    irw, irh = w * 0.36, h * 0.5
    im = Image.new('L', p.size, 0)
    d = ImageDraw.Draw(im)
    d.ellipse(((ix - irw) * SS, (iy - irh) * SS, (ix + irw) * SS, (iy + irh) * SS), fill=255)

    im = ImageChops.multiply(im, m)
    p.paint(im, iris)
    # darker upper half of the iris, the shadow of the lid
    sh = p.mask_poly(spline([(ix - irw * 1.2, iy - irh * 1.2), (ix + irw * 1.2, iy - irh * 1.2),
                             (ix + irw * 1.2, iy - irh * 0.05), (ix, iy + irh * 0.15),
                             (ix - irw * 1.2, iy - irh * 0.05)]))
    p.paint(ImageChops.multiply(sh, im), dark(iris, 0.45), 0.85)
    pr = irw * 0.5
    pm = Image.new('L', p.size, 0)
    ImageDraw.Draw(pm).ellipse(((ix - pr) * SS, (iy - pr * 1.25) * SS, (ix + pr) * SS, (iy + pr * 1.25) * SS), fill=255)
    p.paint(ImageChops.multiply(pm, m), dark(iris, 0.75))
    # light at the bottom of the iris
    lm = Image.new('L', p.size, 0)
    ImageDraw.Draw(lm).ellipse(((ix - irw * 0.7) * SS, (iy + irh * 0.25) * SS, (ix + irw * 0.7) * SS,
                                (iy + irh * 0.85) * SS), fill=255)
    p.paint(ImageChops.multiply(lm, im), light(iris, 0.45), 0.7)
    # glints
    gm = Image.new('L', p.size, 0)
    gd = ImageDraw.Draw(gm)
    gx, gy, gr = ix - irw * 0.35, iy - irh * 0.35, irw * 0.42
    gd.ellipse(((gx - gr) * SS, (gy - gr) * SS, (gx + gr) * SS, (gy + gr) * SS), fill=255)
    gx, gy, gr = ix + irw * 0.38, iy + irh * 0.42, irw * 0.2
    gd.ellipse(((gx - gr) * SS, (gy - gr) * SS, (gx + gr) * SS, (gy + gr) * SS), fill=255)
    p.paint(ImageChops.multiply(gm, m), (255, 255, 255))
    # lids: a heavy upper lash line, a faint lower line
    lash_w = max(0.9, h * 0.16)
    up = spline(upper, closed=False)
    p.stroke(up, LASH, lash_w, taper=True, wobble=0.1)
    if kind in ('round', 'narrow'):
        # a small flick at the outer corner
        fx, fy = outer
        p.stroke([(fx - s * w * 0.12, fy - h * 0.12), (fx + s * w * 0.1, fy - h * 0.25)], LASH,
                 lash_w * 0.7, taper=True)
    lo = spline(lower[1:], closed=False)
    p.stroke(lo, mix(LASH, (255, 255, 255), 0.45), lash_w * 0.35, taper=True)
    if kind == 'dreamy':
        # soft crease above the heavy lid
        p.stroke(spline([(x + s * w * 0.45, y - h * 0.32), (x, y - h * 0.55),
                         (x - s * w * 0.4, y - h * 0.3)], closed=False),
                 mix(LASH, (255, 255, 255), 0.55), lash_w * 0.3, taper=True)
    return m


def brow(p, x, y, w, col, side, arch=0.25, lift=0.0, lw=None):
    s = side
    pts = [(x - s * w / 2, y + 0.1 * w), (x, y - arch * w - lift * w * 0.5),
           (x + s * w / 2, y + 0.05 * w - lift * w)]
    p.stroke(spline(pts, closed=False), col, lw or max(0.8, w * 0.14), taper=True)


def nose(p, x, y, r, skin):
    p.stroke(spline([(x + 0.02 * r, y - 0.06 * r), (x - 0.03 * r, y + 0.03 * r)], closed=False),
             dark(skin, 0.35), 0.6, taper=True)


def mouth(p, x, y, w, kind, skin, lip=None):
    lc = dark(skin, 0.55)
    if kind == 'open':        # wide open smile
        pts = [(x - w / 2, y - w * 0.05, 'c'), (x, y + w * 0.02), (x + w / 2, y - w * 0.05, 'c'),
               (x + w * 0.3, y + w * 0.42), (x, y + w * 0.55), (x - w * 0.3, y + w * 0.42)]
        m = p.shape(pts, (175, 55, 70), shade=0, hi=0, line_col=dark((175, 55, 70), 0.4), lw=0.7)
        p.glow(ellipse_pts(x, y + w * 0.48, w * 0.28, w * 0.18, n=30), (255, 135, 150), 0.95,
               blur=w * 0.02, clip=m, smooth=False)
        p.glow([(x - w * 0.42, y - w * 0.06), (x + w * 0.42, y - w * 0.06), (x + w * 0.3, y + w * 0.12),
                (x - w * 0.3, y + w * 0.12)], (255, 255, 255), 0.95, blur=w * 0.015, clip=m)
    elif kind == 'grin':      # toothy grin
        pts = [(x - w / 2, y - w * 0.12, 'c'), (x, y - w * 0.02), (x + w / 2, y - w * 0.12, 'c'),
               (x + w * 0.28, y + w * 0.32), (x, y + w * 0.38), (x - w * 0.28, y + w * 0.32)]
        m = p.shape(pts, (165, 50, 60), shade=0, hi=0, line_col=dark((165, 50, 60), 0.4), lw=0.7)
        p.glow([(x - w * 0.5, y - w * 0.15), (x + w * 0.5, y - w * 0.15), (x + w * 0.4, y + w * 0.16),
                (x - w * 0.4, y + w * 0.16)], (255, 255, 255), 1.0, blur=w * 0.01, clip=m, smooth=False)
        p.stroke([(x - w * 0.4, y + w * 0.15), (x + w * 0.4, y + w * 0.15)], (200, 170, 170), 0.35)
    elif kind == 'smirk':     # half smile, painted lips
        lipc = lip or (205, 45, 60)
        pts = [(x - w / 2, y + w * 0.05, 'c'), (x - w * 0.1, y - w * 0.08), (x + w * 0.15, y - w * 0.08),
               (x + w / 2, y - w * 0.2, 'c'), (x + w * 0.15, y + w * 0.16), (x - w * 0.15, y + w * 0.18)]
        p.shape(pts, lipc, shade=0.3, hi=0.2, lw=0.5)
        p.stroke(spline([(x - w / 2, y + w * 0.05), (x, y + w * 0.02), (x + w / 2, y - w * 0.2)],
                        closed=False), dark(lipc, 0.5), 0.6, taper=True)
    elif kind == 'line':
        p.stroke([(x - w / 2, y), (x + w / 2, y + w * 0.02)], lc, 0.75, taper=True)
    elif kind == 'gentle':
        p.stroke(spline([(x - w / 2, y - w * 0.1), (x, y + w * 0.12), (x + w / 2, y - w * 0.1)],
                        closed=False), lc, 0.8, taper=True)
    elif kind == 'soft':
        p.stroke(spline([(x - w / 2, y - w * 0.02), (x, y + w * 0.16), (x + w / 2, y - w * 0.04)],
                        closed=False), lc, 0.7, taper=True)
        p.glow(ellipse_pts(x, y + w * 0.28, w * 0.2, w * 0.07, n=20), (240, 140, 150), 0.4,
               blur=w * 0.05, smooth=False)


def hand(p, x, y, r, skin, ang=90, thumb=1):
    """A small mitten hand pointing along ang (degrees, 90 = down)."""
    a = math.radians(ang)
    ux, uy = math.cos(a), math.sin(a)
    vx, vy = -uy, ux
    pts = [(x - ux * r * 0.6 + vx * r * 0.7, y - uy * r * 0.6 + vy * r * 0.7),
           (x + ux * r * 0.5 + vx * r * 0.8, y + uy * r * 0.5 + vy * r * 0.8),
           (x + ux * r * 1.2, y + uy * r * 1.2),
           (x + ux * r * 0.5 - vx * r * 0.75, y + uy * r * 0.5 - vy * r * 0.75),
           (x - ux * r * 0.1 - vx * r * 1.05 * thumb, y - uy * r * 0.1 - vy * r * 1.05 * thumb),
           (x - ux * r * 0.6 - vx * r * 0.6, y - uy * r * 0.6 - vy * r * 0.6)]
    return p.shape(pts, skin, shade=r * 0.3, hi=0, lw=0.8)


def shoe(p, x, y, w, col, side=1, toe=0.6):
    """Shoe seen from the front, standing at ground line y, toes turned by side."""
    pts = [(x - w * 0.45, y - w * 0.55), (x + w * 0.45, y - w * 0.55),
           (x + w * 0.5 + side * toe * w * 0.2, y - w * 0.1), (x + side * toe * w * 0.15, y),
           (x - w * 0.5 + side * toe * w * 0.2, y - w * 0.1)]
    return p.shape(pts, col, shade=w * 0.15, hi=w * 0.08, lw=0.9)
