// The design model: what every reticle design is made of.
//
// A design is constant data: a window name, a caption, a client size, colours
// and a list of elements in stacking order, topmost first. A window paints
// its background and then the elements from the last to the first, so an
// earlier element covers a later one where their boxes overlap.
#pragma once

#include "designs/colour.h"
#include "designs/units.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zentaro {

/// A short text held by value, so that elements can be generated in constant
/// expressions (names such as "Shape184", captions such as "-3").
class ShortText
{
public:
    static constexpr std::size_t kCapacity = 15;

    constexpr ShortText() = default;
    constexpr ShortText(std::string_view text) // NOLINT: implicit from literals on purpose
    {
        for (std::size_t i = 0; i < text.size() && i < kCapacity; ++i) {
            chars_[i] = text[i];
        }
        size_ = text.size() < kCapacity ? text.size() : kCapacity;
    }
    constexpr ShortText(const char* text) : ShortText(std::string_view(text)) {}

    /// `prefix` followed by the decimal `number` (number >= 0): "Shape" + 17.
    static constexpr ShortText numbered(std::string_view prefix, int number)
    {
        ShortText text(prefix);
        char digits[12]{};
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0);
        while (count > 0 && text.size_ < kCapacity) {
            text.chars_[text.size_++] = digits[--count];
        }
        return text;
    }

    constexpr std::string_view view() const { return {chars_, size_}; }
    constexpr operator std::string_view() const { return view(); } // NOLINT
    constexpr bool empty() const { return size_ == 0; }

    friend constexpr bool operator==(const ShortText& a, const ShortText& b)
    {
        return a.view() == b.view();
    }

private:
    char chars_[kCapacity + 1]{};
    std::size_t size_ = 0;
};

enum class ElementKind
{
    Bar,
    Stroke,
    TextLabel
};

/// Stroke shape kinds, with the values the designs were saved with.
enum class StrokeShape
{
    Rectangle = 0,
    Circle = 3
};

enum class LabelBackground
{
    Opaque,
    Transparent
};
enum class LabelBorder
{
    None,
    Single
};
enum class LabelAlignment
{
    Left,
    Centre
};

struct FontSpec
{
    std::string_view face;
    double points = 0;
    bool bold = false;
    friend constexpr bool operator==(const FontSpec&, const FontSpec&) = default;
};

/// The look of a text label. A label without a font uses the window system's
/// default user-interface font in regular weight.
struct LabelLook
{
    ColourValue foreColour = colours::kSystemButtonText;
    ColourValue backColour = colours::kSystemButtonFace;
    LabelBackground background = LabelBackground::Opaque;
    LabelBorder border = LabelBorder::None;
    LabelAlignment alignment = LabelAlignment::Left;
    std::optional<FontSpec> font;
    friend constexpr bool operator==(const LabelLook&, const LabelLook&) = default;
};

inline constexpr int kNoIndex = -1;

struct DesignElement
{
    ElementKind kind = ElementKind::Bar;
    /// The element's name in its window: "img", "Shape12", "Label3".
    ShortText name;
    /// Index in a named array (the bars `img`, the grid's `Label3`), or kNoIndex.
    int index = kNoIndex;
    TwipBox box;

    // Stroke only.
    ColourValue strokeColour{};
    StrokeShape shape = StrokeShape::Rectangle;

    // TextLabel only. The toggle label's caption is set at run time.
    ShortText caption;
    LabelLook look;

    constexpr bool hasIndex() const { return index != kNoIndex; }
    constexpr bool isBar() const { return kind == ElementKind::Bar; }
    constexpr bool isStroke() const { return kind == ElementKind::Stroke; }
    constexpr bool isLabel() const { return kind == ElementKind::TextLabel; }
    constexpr bool is(std::string_view elementName, int elementIndex = kNoIndex) const
    {
        return name.view() == elementName && index == elementIndex;
    }
    constexpr PixelBox pixelBox(double dpi) const { return toPixels(box, dpi); }
    /// "img(3)", "Label3(14)" or "Shape12".
    std::string displayName() const;
};

/// Bars `img(0)` to `img(6)` show the design's one-colour bar picture (bar 0
/// from the start, bars 1 to 6 from load on); a bar beyond them never gets
/// the picture and paints nothing, though its box still counts.
constexpr bool barShowsPicture(const DesignElement& element)
{
    return element.isBar() && element.index >= 0 && element.index <= 6;
}

/// The bar picture: one colour (the design's bar colour) at this size.
inline constexpr int kBarPictureWidthPixels = 320;
inline constexpr int kBarPictureHeightPixels = 240;

struct ReticleDesign
{
    /// The design's own name ("StandardBianco").
    std::string_view designName;
    /// The reticle window's name ("Form3").
    std::string_view windowName;
    /// The window's title bar text.
    std::string_view caption;
    int clientWidthTwips = 0;
    int clientHeightTwips = 0;
    ColourValue background = colours::kReticleBackground;
    ColourValue barColour = colours::kRedBar;
    int stripLeftTwips = 0;
    /// Every element, in stacking order, topmost first.
    std::span<const DesignElement> elements;

    constexpr double clientWidthPixels(double dpi) const
    {
        return twipsToPixels(clientWidthTwips, dpi);
    }
    constexpr double clientHeightPixels(double dpi) const
    {
        return twipsToPixels(clientHeightTwips, dpi);
    }
    /// The element with this name and index, or nullptr when there is none.
    const DesignElement* find(std::string_view elementName, int elementIndex = kNoIndex) const;
};

// ---- Builders for the design tables -------------------------------------

constexpr DesignElement bar(int index, int left, int top, int width, int height)
{
    DesignElement e;
    e.kind = ElementKind::Bar;
    e.name = "img";
    e.index = index;
    e.box = {left, top, width, height};
    return e;
}

constexpr DesignElement stroke(ShortText name, int left, int top, int width, int height,
                               ColourValue colour, StrokeShape shape = StrokeShape::Rectangle,
                               int index = kNoIndex)
{
    DesignElement e;
    e.kind = ElementKind::Stroke;
    e.name = name;
    e.index = index;
    e.box = {left, top, width, height};
    e.strokeColour = colour;
    e.shape = shape;
    return e;
}

constexpr DesignElement label(ShortText name, int left, int top, int width, int height,
                              ShortText caption, const LabelLook& look, int index = kNoIndex)
{
    DesignElement e;
    e.kind = ElementKind::TextLabel;
    e.name = name;
    e.index = index;
    e.box = {left, top, width, height};
    e.caption = caption;
    e.look = look;
    return e;
}

// ---- The title strip ------------------------------------------------------
//
// Every design carries, at the top edge of its client area and at its own
// strip left L (twips), a bar block (L, 0, 1095, 255), the close label
// `Label2` (L + 1080, 0, 375, 240) and the toggle label `Label1`
// (L, 240, 1455, 255).

inline constexpr int kStripWidthTwips = 1455;
inline constexpr int kStripHeightTwips = 495;
inline constexpr int kBarBlockWidthTwips = 1095;
inline constexpr int kBarBlockHeightTwips = 255;

inline constexpr LabelLook kToggleLabelLook{
    colours::kRedStroke, colours::kSystemWindow, LabelBackground::Transparent,
    LabelBorder::Single, LabelAlignment::Centre, FontSpec{"MS Sans Serif", 9.75, true}};

inline constexpr LabelLook kCloseLabelLook{
    colours::kBlack,   colours::kSystemButtonFace, LabelBackground::Transparent,
    LabelBorder::None, LabelAlignment::Centre,     FontSpec{"MS Sans Serif", 12, true}};

/// The toggle label: no caption stored; "Trasparente" from load on.
constexpr DesignElement toggleLabel(int stripLeft)
{
    return label("Label1", stripLeft, 240, 1455, 255, "", kToggleLabelLook);
}

constexpr DesignElement closeLabel(int stripLeft)
{
    return label("Label2", stripLeft + 1080, 0, 375, 240, "X", kCloseLabelLook);
}

// ---- Run-time captions of the toggle label --------------------------------
inline constexpr std::string_view kToggleToTransparent = "Trasparente";
inline constexpr std::string_view kToggleToWindowed = "Finestra";

} // namespace zentaro
