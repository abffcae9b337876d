#pragma once
// Colours and fonts as the grid's properties hold them: a TColor is 0x00BBGGRR, clNone means "no
// colour of its own" and the system colours are symbolic until painted. A font is a plain value
// with a change handler, so that a column notices a change made inside its font.
#include <QColor>
#include <QFont>
#include <cstdint>
#include <functional>
#include <string>

namespace kgrid {

using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours: 0x80000000 plus the system's colour number.
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clBtnShadow = 0x80000010;
inline constexpr TColor clBtnHighlight = 0x80000014;
inline constexpr TColor clInfoBk = 0x80000018;

// The colour on screen. System colours take the standard desktop scheme's values, so that the
// grid looks the same on every machine; clNone gives an invalid QColor.
QColor toQColor(TColor c);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TKGridFont {
 public:
  TKGridFont() = default;
  TKGridFont(std::string name, int size, TColor color, unsigned style = 0)
      : name_(std::move(name)), size_(size), color_(color), style_(style) {}
  // Copies the value, not the change handler.
  TKGridFont(const TKGridFont& o) : name_(o.name_), size_(o.size_), color_(o.color_), style_(o.style_) {}
  TKGridFont& operator=(const TKGridFont& o) {
    Assign(o);
    return *this;
  }

  const std::string& Name() const { return name_; }
  int Size() const { return size_; }  // points
  TColor Color() const { return color_; }
  unsigned Style() const { return style_; }
  void SetName(const std::string& v) { set(name_, v); }
  void SetSize(int v) { set(size_, v); }
  void SetColor(TColor v) { set(color_, v); }
  void SetStyle(unsigned v) { set(style_, v); }
  // Takes another font's value; the change handler runs once when anything changed.
  void Assign(const TKGridFont& o);

  bool sameValue(const TKGridFont& o) const {
    return name_ == o.name_ && size_ == o.size_ && color_ == o.color_ && style_ == o.style_;
  }
  // The Qt font. Sized in pixels at 96 per inch, because the grid's rows are 18 pixels high on
  // every screen; a missing face falls back to a sans-serif one.
  QFont toQFont() const;

  std::function<void()> OnChange;

 private:
  template <class T>
  void set(T& field, const T& v) {
    if (field == v) return;
    field = v;
    if (OnChange) OnChange();
  }
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TColor color_ = clWindowText;
  unsigned style_ = 0;
};

}  // namespace kgrid
