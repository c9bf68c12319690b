#pragma once
// Photographs of hulled rice grains, drawn from a model rather than taken: each grain is a
// tapered ellipsoid with an embryo at its base, shallow longitudinal grooves and a fine
// striated surface, lit from the upper left, casting a soft shadow on a plain background.
// Translucent grains let the background show through their thin edges, opaque ones do not.

#include <QImage>

#include <cstdint>

class CGrainPhoto
{
public:
    // How one brand's grains look. Sizes in millimetres, colours as linear 0..1 RGB.
    struct Style {
        double lengthMm = 5.0;
        double widthMm = 2.85;
        double thicknessMm = 2.0;
        double baseTaper = 0.08;  // how much narrower the embryo end is than the apex end
        double albedo[3] = {0.93, 0.78, 0.52};
        double transmission[3] = {0.85, 0.6, 0.3};  // colour of the light that passes through
        double edgeOpacity = 0.45;                  // opacity where the grain is thinnest (its rim)
        double bodyOpacity = 0.8;                   // opacity at its thickest
        double gloss = 0.4;                         // strength of the specular highlight
        double shininess = 60.0;                    // its tightness
        double coreWhite = 0.0;                     // white core (心白) strength, 0 .. 1
        double bellyWhiteShare = 0.0;               // share of grains with a chalky belly (腹白)
        double dorsalFlatness = 0.0;                // side view: how straight the back is, 0 .. 1
        double groove = 1.0;                        // depth of the longitudinal grooves
    };

    enum class View { Top, Side };

    // A close-up of a few dozen grains strewn on the background, `size` × `size` pixels, with
    // `pixelsPerMm` of magnification.
    static QImage RenderHeap(const Style &style, int size, double pixelsPerMm, int grainCount, std::uint64_t seed);

    // One grain lying horizontally, base (embryo) to the left, from the top or from the side,
    // above a millimetre scale whose 0 mark is level with the grain's base.
    static QImage RenderDetail(const Style &style, int size, double pixelsPerMm, View view, std::uint64_t seed);
};
