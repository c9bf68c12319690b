#include "CGrainPhoto.h"

#include "CArtNoise.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec3 {
    double x;
    double y;
    double z;
};

Vec3 Normalized(Vec3 v)
{
    const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / n, v.y / n, v.z / n};
}

double Dot(const Vec3 &a, const Vec3 &b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

double Clamp01(double x)
{
    return std::clamp(x, 0.0, 1.0);
}

double SmoothStep(double e0, double e1, double x)
{
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

double Mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

// Light from the upper left, a little above 45 degrees; the camera looks straight down.
const Vec3 kLight = Normalized({-0.5, -0.62, 0.78});
const Vec3 kHalf = Normalized({kLight.x, kLight.y, kLight.z + 1.0});
// Shadows fall away from the light.
constexpr double kShadowDirX = 0.63;
constexpr double kShadowDirY = 0.78;

// A floating-point RGB picture; the grains are composited onto it before it is rounded to bytes.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> rgb;

    Canvas(int w, int h)
        : width(w)
        , height(h)
        , rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, 0.0f)
    {}
    float *At(int x, int y)
    {
        return &rgb[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3];
    }
};

struct Grain {
    double cx = 0;
    double cy = 0;
    double cosA = 1;
    double sinA = 0;
    double flip = 1;    // which side of the length axis the embryo lies on
    double a = 1;       // half length, pixels
    double b = 1;       // half width as seen, pixels
    double height = 1;  // height of the grain's top above its outline, pixels
    double taper = 0;
    double dorsal = 0;  // straightness of the back (the side away from the embryo)
    double tone = 1;
    double warmth = 0;
    double belly = 0;
    std::uint64_t seed = 0;
};

struct Local {
    double u;
    double v;
    double un;
    double vn;
    double bEff;
    double q;  // 0 at the centre, 1 on the outline
};

Local ToLocal(const Grain &g, double x, double y)
{
    const double dx = x - g.cx;
    const double dy = y - g.cy;
    Local l{};
    l.u = dx * g.cosA + dy * g.sinA;
    l.v = g.flip * (-dx * g.sinA + dy * g.cosA);
    l.un = l.u / g.a;
    l.bEff = g.b * (1.0 + g.taper * std::clamp(l.un, -1.0, 1.0));
    l.vn = l.v / l.bEff;
    if (l.v < 0 && g.dorsal > 0) {
        const double p = 2.0 + 3.0 * g.dorsal;
        l.q = l.un * l.un + std::pow(std::fabs(l.vn), p);
    } else {
        l.q = l.un * l.un + l.vn * l.vn;
    }
    return l;
}

// The shallow notch where the embryo sits, at the base on the belly side.
bool InNotch(const Grain &g, const Local &l)
{
    const double nu = l.u + 0.98 * g.a;
    const double nv = l.v - 0.74 * g.b * (1.0 - g.taper);
    const double r = 0.27 * g.b;
    return nu * nu + nv * nv < r * r;
}

bool Inside(const Grain &g, double x, double y)
{
    const Local l = ToLocal(g, x, y);
    return l.q < 1.0 && !InNotch(g, l);
}

// Whether the grain's outline, grown by `gap` pixels, covers the point.
bool InsideGrown(const Grain &g, double x, double y, double gap)
{
    const double dx = x - g.cx;
    const double dy = y - g.cy;
    const double u = (dx * g.cosA + dy * g.sinA) / (g.a + gap);
    const double v = (-dx * g.sinA + dy * g.cosA) / (g.b * (1.0 + g.taper) + gap);
    return u * u + v * v < 1.0;
}

bool Overlaps(const Grain &g, const Grain &other, double gap)
{
    if (std::hypot(g.cx - other.cx, g.cy - other.cy) > g.a + other.a + 2 * gap)
        return false;
    for (int k = 0; k < 48; ++k) {
        const double t = 2.0 * kPi * k / 48.0;
        const double u = (g.a + gap) * std::cos(t);
        const double v = (g.b * (1.0 + g.taper) + gap) * std::sin(t);
        const double x = g.cx + u * g.cosA - v * g.sinA;
        const double y = g.cy + u * g.sinA + v * g.cosA;
        if (InsideGrown(other, x, y, gap))
            return true;
    }
    return InsideGrown(other, g.cx, g.cy, gap);
}

// The plain background: a cool grey-blue card, a little lighter towards the light and darker
// towards the corners, with a faint mottle.
void PaintBackground(Canvas &canvas, std::uint64_t seed)
{
    const double w = canvas.width;
    const double h = canvas.height;
    const double base[3] = {0.40, 0.44, 0.50};
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const double nx = x / w;
            const double ny = y / h;
            const double towardsLight = 1.0 - 0.5 * (nx + ny);
            const double rx = nx - 0.45;
            const double ry = ny - 0.45;
            const double vignette = 0.16 * (rx * rx + ry * ry);
            const double mottle = 0.012 * CArtNoise::Fractal(seed, nx * 6.0, ny * 6.0, 3);
            const double k = 0.88 + 0.16 * towardsLight - vignette + mottle;
            float *p = canvas.At(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<float>(base[c] * k);
        }
    }
}

// Three box blurs in a row approximate a Gaussian.
void Blur(std::vector<float> &mask, int w, int h, int radius)
{
    if (radius < 1)
        return;
    std::vector<float> tmp(mask.size());
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) {
            const float *src = &mask[static_cast<size_t>(y) * static_cast<size_t>(w)];
            float *dst = &tmp[static_cast<size_t>(y) * static_cast<size_t>(w)];
            float sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += src[std::clamp(i, 0, w - 1)];
            for (int x = 0; x < w; ++x) {
                dst[x] = sum * norm;
                sum += src[std::min(x + radius + 1, w - 1)] - src[std::max(x - radius, 0)];
            }
        }
        for (int x = 0; x < w; ++x) {
            float sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum +=
                    tmp[static_cast<size_t>(std::clamp(i, 0, h - 1)) * static_cast<size_t>(w) + static_cast<size_t>(x)];
            for (int y = 0; y < h; ++y) {
                mask[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = sum * norm;
                const int add = std::min(y + radius + 1, h - 1);
                const int sub = std::max(y - radius, 0);
                sum += tmp[static_cast<size_t>(add) * static_cast<size_t>(w) + static_cast<size_t>(x)]
                    - tmp[static_cast<size_t>(sub) * static_cast<size_t>(w) + static_cast<size_t>(x)];
            }
        }
    }
}

// Soft shadows: a wide one cast away from the light and a tight one where the grains touch the
// card, worked out at a quarter of the resolution and blurred.
void PaintShadows(Canvas &canvas, const std::vector<Grain> &grains, const CGrainPhoto::Style &style)
{
    constexpr int kStep = 4;
    const int w = (canvas.width + kStep - 1) / kStep;
    const int h = (canvas.height + kStep - 1) / kStep;
    std::vector<float> cast(static_cast<size_t>(w) * static_cast<size_t>(h), 0.0f);
    std::vector<float> contact(cast.size(), 0.0f);
    double meanHeight = 0;
    for (const Grain &g : grains) {
        meanHeight += g.height;
        const double offset = 0.75 * g.height;
        const double ox = kShadowDirX * offset;
        const double oy = kShadowDirY * offset;
        const int x0 = std::max(0, static_cast<int>((g.cx - g.a - offset) / kStep) - 1);
        const int x1 = std::min(w - 1, static_cast<int>((g.cx + g.a + offset) / kStep) + 1);
        const int y0 = std::max(0, static_cast<int>((g.cy - g.a - offset) / kStep) - 1);
        const int y1 = std::min(h - 1, static_cast<int>((g.cy + g.a + offset) / kStep) + 1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = (x + 0.5) * kStep;
                const double py = (y + 0.5) * kStep;
                const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
                if (Inside(g, px - ox, py - oy))
                    cast[i] = 1.0f;
                if (Inside(g, px, py))
                    contact[i] = 1.0f;
            }
        }
    }
    if (grains.empty())
        return;
    meanHeight /= static_cast<double>(grains.size());
    Blur(cast, w, h, std::max(1, static_cast<int>(0.45 * meanHeight / kStep)));
    Blur(contact, w, h, std::max(1, static_cast<int>(0.10 * meanHeight / kStep)));

    // Light that passes through translucent grains tints and lightens their shadows.
    const double through = 1.0 - style.bodyOpacity;
    double tint[3];
    for (int c = 0; c < 3; ++c)
        tint[c] = 1.0 - 0.9 * through * style.transmission[c];

    for (int y = 0; y < canvas.height; ++y) {
        const double fy = std::clamp((y + 0.5) / kStep - 0.5, 0.0, h - 1.0);
        const int iy = std::min(static_cast<int>(fy), h - 2 < 0 ? 0 : h - 2);
        const double ty = fy - iy;
        for (int x = 0; x < canvas.width; ++x) {
            const double fx = std::clamp((x + 0.5) / kStep - 0.5, 0.0, w - 1.0);
            const int ix = std::min(static_cast<int>(fx), w - 2 < 0 ? 0 : w - 2);
            const double tx = fx - ix;
            auto sample = [&](const std::vector<float> &m) {
                const size_t i = static_cast<size_t>(iy) * static_cast<size_t>(w) + static_cast<size_t>(ix);
                const double top = Mix(m[i], m[i + 1], tx);
                const double bottom = Mix(m[i + static_cast<size_t>(w)], m[i + static_cast<size_t>(w) + 1], tx);
                return Mix(top, bottom, ty);
            };
            const double s = sample(cast);
            const double t = sample(contact);
            if (s <= 0.0 && t <= 0.0)
                continue;
            float *p = canvas.At(x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<float>(p[c] * (1.0 - 0.55 * s * tint[c]) * (1.0 - 0.45 * t));
        }
    }
}

// Shades one grain over the canvas.
void PaintGrain(Canvas &canvas, const Grain &g, const CGrainPhoto::Style &style)
{
    const int x0 = std::max(0, static_cast<int>(g.cx - g.a - 2));
    const int x1 = std::min(canvas.width - 1, static_cast<int>(g.cx + g.a + 2));
    const int y0 = std::max(0, static_cast<int>(g.cy - g.a - 2));
    const int y1 = std::min(canvas.height - 1, static_cast<int>(g.cy + g.a + 2));
    const double edgeBand = 3.0 / std::min(g.a, g.b);
    const double notchR = 0.27 * g.b;

    double albedoBase[3];
    for (int c = 0; c < 3; ++c)
        albedoBase[c] = style.albedo[c] * g.tone;
    albedoBase[0] *= 1.0 + 0.03 * g.warmth;
    albedoBase[2] *= 1.0 - 0.06 * g.warmth;
    const double white[3] = {0.97, 0.96, 0.93};
    const double embryo[3] = {0.96, 0.86, 0.62};

    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            Local l = ToLocal(g, px, py);
            if (l.q > 1.0 + edgeBand)
                continue;

            // Coverage: certain well inside, counted on a 4 × 4 grid near the outline and notch.
            const double nu = l.u + 0.98 * g.a;
            const double nv = l.v - 0.74 * g.b * (1.0 - g.taper);
            const double notchDist = std::sqrt(nu * nu + nv * nv) - notchR;
            double coverage = 1.0;
            if (l.q > 1.0 - edgeBand || std::fabs(notchDist) < 2.0) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx)
                        hits += Inside(g, x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0) ? 1 : 0;
                if (hits == 0)
                    continue;
                coverage = hits / 16.0;
            } else if (notchDist < 0) {
                continue;
            }
            if (l.q >= 0.995) {
                // Shade rim pixels as if a hair inside the outline.
                const double k = std::sqrt(0.995 / l.q);
                l.un *= k;
                l.vn *= k;
                l.q = 0.995;
            }

            // A flattish top with rounded sides: h = H (1 − q)^0.45.
            const double rest = std::max(1.0 - l.q, 0.004);
            const double s = std::pow(rest, 0.45);
            const double slope = -g.height * 0.45 * std::pow(rest, -0.55) * 2.0;
            const double along = 1.0 - std::pow(std::fabs(l.un), 4.0);
            double dhdu = slope * l.un / g.a;
            double dhdv = slope * l.vn / l.bEff;

            // Shallow longitudinal grooves on either side of the middle.
            const double d = std::fabs(l.vn) - 0.5;
            const double grooveMask = std::exp(-(d / 0.06) * (d / 0.06)) * along * style.groove;
            const double sign = l.vn < 0 ? -1.0 : 1.0;
            dhdv += 0.03 * g.height * grooveMask * (2.0 * d / (0.06 * 0.06)) * sign / l.bEff;

            // Fine striations running along the grain.
            const std::uint64_t seed = g.seed;
            const double st0 = CArtNoise::Value(seed + 11, l.un * 1.3, (l.vn - 0.01) * 45.0);
            const double st1 = CArtNoise::Value(seed + 11, l.un * 1.3, (l.vn + 0.01) * 45.0);
            dhdv += 0.0025 * g.height * ((st1 - st0) / 0.02) / l.bEff;
            // A fine, irregular crinkle of the skin, a few pixels across.
            const double cell = 0.018 * std::min(g.a, g.b);
            const double cx0 = CArtNoise::Value(seed + 37, (px - 1.0) / cell, py / cell);
            const double cx1 = CArtNoise::Value(seed + 37, (px + 1.0) / cell, py / cell);
            const double cy0 = CArtNoise::Value(seed + 37, px / cell, (py - 1.0) / cell);
            const double cy1 = CArtNoise::Value(seed + 37, px / cell, (py + 1.0) / cell);
            const double crinkle = 0.0012 * g.height / cell;

            const double dhdx = dhdu * g.cosA - dhdv * g.flip * g.sinA;
            const double dhdy = dhdu * g.sinA + dhdv * g.flip * g.cosA;
            const Vec3 n = Normalized({-dhdx - crinkle * (cx1 - cx0), -dhdy - crinkle * (cy1 - cy0), 1.0});

            // Surface colour: striations, patches of the bran layer, speckle, grooves, embryo.
            const double texture = 1.0 + 0.012 * (st0 + st1) * 0.5
                + 0.045 * CArtNoise::Fractal(seed + 13, l.un * 1.6, l.vn * 1.3, 3)
                + 0.012 * CArtNoise::Hash(seed + 17, x, y);
            double albedo[3];
            for (int c = 0; c < 3; ++c)
                albedo[c] = albedoBase[c] * texture;
            albedo[0] *= 1.0 - 0.06 * grooveMask;
            albedo[1] *= 1.0 - 0.10 * grooveMask;
            albedo[2] *= 1.0 - 0.18 * grooveMask;

            // The embryo: an oblique oval along the belly edge just above the notch.
            const double eu = l.u + 0.76 * g.a;
            const double ev = l.v - 0.52 * g.b;
            const double er = (std::cos(0.9) * eu + std::sin(0.9) * ev) / (0.30 * g.b);
            const double es = (-std::sin(0.9) * eu + std::cos(0.9) * ev) / (0.17 * g.a);
            const double e = er * er + es * es + 0.06 * CArtNoise::Value(seed + 19, l.un * 9, l.vn * 9);
            const double embryoMask = 0.9 * (1.0 - SmoothStep(0.55, 1.05, e));
            const double embryoRim = std::exp(-((e - 1.0) / 0.12) * ((e - 1.0) / 0.12));

            const double coreShape = ((l.un - 0.04) / 0.52) * ((l.un - 0.04) / 0.52) + (l.vn / 0.58) * (l.vn / 0.58)
                + 0.3 * CArtNoise::Fractal(seed + 23, l.un * 3.0, l.vn * 3.0, 2);
            const double core = style.coreWhite * (1.0 - SmoothStep(0.15, 1.05, coreShape));
            const double bellyShape = ((l.un + 0.05) / 0.6) * ((l.un + 0.05) / 0.6)
                + ((l.vn - 0.6) / 0.38) * ((l.vn - 0.6) / 0.38)
                + 0.3 * CArtNoise::Fractal(seed + 29, l.un * 3.0, l.vn * 3.0, 2);
            const double belly = g.belly * (1.0 - SmoothStep(0.4, 1.0, bellyShape));
            const double chalk = std::max(core, belly);

            for (int c = 0; c < 3; ++c) {
                albedo[c] = Mix(albedo[c], white[c] * (0.97 + 0.03 * texture), 0.8 * chalk);
                albedo[c] = Mix(albedo[c], embryo[c] * texture, embryoMask);
                albedo[c] *= 1.0 - 0.08 * embryoRim;
            }

            double opacity = Mix(style.edgeOpacity, style.bodyOpacity, SmoothStep(0.0, 1.0, s));
            opacity = Mix(opacity, 1.0, std::max(chalk, 0.8 * embryoMask));

            // Lighting: a soft, wrapped diffuse term, some ambient light and a highlight.
            const double ndl = Dot(n, kLight);
            const double wrap = 0.3;
            const double diffuse = std::max(0.0, (ndl + wrap) / (1.0 + wrap));
            const double specular =
                style.gloss * (1.0 - 0.7 * chalk) * std::pow(std::max(0.0, Dot(n, kHalf)), style.shininess);
            const double rim = 0.08 * std::pow(1.0 - n.z, 2.0);

            // Light entering a translucent grain on the lit side glows out of the far side.
            const double dirX = l.un * g.cosA - l.vn * g.flip * g.sinA;
            const double dirY = l.un * g.sinA + l.vn * g.flip * g.cosA;
            const double far = SmoothStep(-0.1, 0.9, dirX * kShadowDirX + dirY * kShadowDirY);
            const double glow = (1.0 - style.bodyOpacity) * (1.0 - chalk) * far * (1.0 - SmoothStep(0.8, 1.0, l.q));

            float *p = canvas.At(x, y);
            for (int c = 0; c < 3; ++c) {
                const double lit = albedo[c] * (0.30 + 0.80 * diffuse) + specular + rim
                    + 0.9 * glow * style.transmission[c] * albedo[c];
                // Seen through the grain: the darkened card under it, tinted, plus light
                // scattered inside the grain.
                const double behind = p[c] * 0.5 * style.transmission[c]
                    + style.transmission[c] * albedo[c] * (0.25 + 0.35 * s + 0.35 * (1.0 - diffuse));
                const double colour = Mix(behind, lit, opacity);
                p[c] = static_cast<float>(Mix(p[c], colour, coverage));
            }
        }
    }
}

QImage ToImage(const Canvas &canvas)
{
    QImage image(canvas.width, canvas.height, QImage::Format_RGB32);
    for (int y = 0; y < canvas.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const float *p = &canvas.rgb[static_cast<size_t>(y) * static_cast<size_t>(canvas.width) * 3];
        for (int x = 0; x < canvas.width; ++x, p += 3) {
            auto byte = [](float v) { return static_cast<int>(std::lround(Clamp01(v) * 255.0)); };
            line[x] = qRgb(byte(p[0]), byte(p[1]), byte(p[2]));
        }
    }
    return image;
}

Grain MakeGrain(const CGrainPhoto::Style &style, double pixelsPerMm, CArtNoise &random, bool onSide)
{
    Grain g;
    const double size = random.Range(0.95, 1.05);
    g.a = 0.5 * style.lengthMm * pixelsPerMm * size;
    if (onSide) {
        g.b = 0.5 * style.thicknessMm * pixelsPerMm * size * random.Range(0.97, 1.03);
        g.height = 0.5 * style.widthMm * pixelsPerMm * size * 0.75;
        g.dorsal = style.dorsalFlatness;
    } else {
        g.b = 0.5 * style.widthMm * pixelsPerMm * size * random.Range(0.96, 1.04);
        g.height = 0.5 * style.thicknessMm * pixelsPerMm * size * 0.85;
    }
    g.taper = style.baseTaper;
    g.tone = random.Range(0.95, 1.04);
    g.warmth = random.Range(-0.4, 0.4);
    g.flip = random.Uniform() < 0.5 ? -1.0 : 1.0;
    g.belly = random.Uniform() < style.bellyWhiteShare ? random.Range(0.6, 0.95) : 0.0;
    g.seed = random.Next();
    return g;
}

void PaintGrains(Canvas &canvas, const std::vector<Grain> &grains, const CGrainPhoto::Style &style)
{
    PaintShadows(canvas, grains, style);
    for (const Grain &g : grains)
        PaintGrain(canvas, g, style);
}

void DrawScale(QImage &image, double pixelsPerMm, double zeroX, double top)
{
    const int mmCount = 7;
    const double left = zeroX - 0.45 * pixelsPerMm;
    const double right = zeroX + (mmCount + 0.55) * pixelsPerMm;
    const double height = 1.25 * pixelsPerMm;
    const QRectF strip(left, top, right - left, height);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // A soft shadow under the strip.
    painter.setPen(Qt::NoPen);
    for (int i = 12; i >= 1; --i) {
        painter.setBrush(QColor(20, 25, 35, 9));
        painter.drawRoundedRect(strip.translated(10, 14).adjusted(-i * 1.5, -i * 1.5, i * 1.5, i * 1.5), 10 + i,
                                10 + i);
    }
    QLinearGradient face(strip.topLeft(), strip.bottomLeft());
    face.setColorAt(0.0, QColor(250, 250, 246));
    face.setColorAt(1.0, QColor(226, 227, 222));
    painter.setBrush(face);
    painter.setPen(QPen(QColor(150, 152, 150), 1.5));
    painter.drawRoundedRect(strip, 8, 8);

    // Ticks every 0.1 mm, longer every 0.5 mm and every millimetre.
    const QColor ink(25, 25, 28);
    for (int tenth = 0; tenth <= mmCount * 10; ++tenth) {
        const double x = zeroX + tenth * pixelsPerMm / 10.0;
        double length = 0.16 * pixelsPerMm;
        double width = 1.6;
        if (tenth % 10 == 0) {
            length = 0.42 * pixelsPerMm;
            width = 3.0;
        } else if (tenth % 5 == 0) {
            length = 0.28 * pixelsPerMm;
            width = 2.2;
        }
        painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QPointF(x, top + 1), QPointF(x, top + 1 + length));
    }
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(static_cast<int>(0.36 * pixelsPerMm));
    painter.setFont(font);
    painter.setPen(ink);
    for (int mm = 0; mm <= mmCount; ++mm) {
        const double x = zeroX + mm * pixelsPerMm;
        const QRectF box(x - 0.4 * pixelsPerMm, top + 0.48 * pixelsPerMm, 0.8 * pixelsPerMm, 0.5 * pixelsPerMm);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, QString::number(mm));
    }
    font.setPixelSize(static_cast<int>(0.3 * pixelsPerMm));
    painter.setFont(font);
    painter.drawText(QRectF(zeroX + (mmCount - 0.5) * pixelsPerMm + 0.25 * pixelsPerMm, top + 0.85 * pixelsPerMm,
                            0.9 * pixelsPerMm, 0.4 * pixelsPerMm),
                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("mm"));
}

}  // namespace

QImage CGrainPhoto::RenderHeap(const Style &style, int size, double pixelsPerMm, int grainCount, std::uint64_t seed)
{
    CArtNoise random(seed);
    Canvas canvas(size, size);
    PaintBackground(canvas, seed ^ 0x5bd1e995ULL);

    std::vector<Grain> grains;
    const double gap = 0.06 * style.widthMm * pixelsPerMm;
    for (int attempt = 0; attempt < 20000 && static_cast<int>(grains.size()) < grainCount; ++attempt) {
        Grain g = MakeGrain(style, pixelsPerMm, random, random.Uniform() < 0.18);
        // Grains may run over the picture's edges, as in any close-up.
        g.cx = random.Range(-0.04, 1.04) * size;
        g.cy = random.Range(-0.04, 1.04) * size;
        const double angle = random.Range(0.0, kPi);
        g.cosA = std::cos(angle);
        g.sinA = std::sin(angle);
        const bool clash = std::any_of(grains.begin(), grains.end(), [&](const Grain &other) {
            return Overlaps(g, other, gap) || Overlaps(other, g, gap);
        });
        if (!clash)
            grains.push_back(g);
    }
    PaintGrains(canvas, grains, style);
    return ToImage(canvas);
}

QImage CGrainPhoto::RenderDetail(const Style &style, int size, double pixelsPerMm, View view, std::uint64_t seed)
{
    CArtNoise random(seed);
    Canvas canvas(size, size);
    PaintBackground(canvas, seed ^ 0x5bd1e995ULL);

    Grain g = MakeGrain(style, pixelsPerMm, random, view == View::Side);
    g.a = 0.5 * style.lengthMm * pixelsPerMm;
    g.tone = 1.0;
    g.warmth = 0.0;
    g.flip = 1.0;
    g.belly = 0.0;
    const double zeroX = 0.5 * (size - 7.0 * pixelsPerMm);
    g.cx = zeroX + g.a;
    g.cy = 0.40 * size;
    g.cosA = 1.0;
    g.sinA = 0.0;
    PaintGrains(canvas, {g}, style);

    QImage image = ToImage(canvas);
    DrawScale(image, pixelsPerMm, zeroX, 0.70 * size);
    return image;
}
