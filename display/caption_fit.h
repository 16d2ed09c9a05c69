#pragma once
// Captions that fit their picture: a caption names a file, and a long name
// in the caption's letters runs past the right edge of a small picture. The
// letters get smaller first (down to the tick labels' size); where that is
// not enough a shorter form of the caption is taken, and then the name
// loses its beginning ("...shot_0006.dat"), since the end of a record's
// name is the part that tells records apart.

#include <functional>
#include <string>
#include <vector>

#include "display/drawing_surface.h"

namespace zentrova {

// The width of a text in `font` as drawn in a plot's face, estimated by the
// kind of each character, on the wide side.
int DrawnTextWidth(const std::string& text, const Font& font);

struct FittedCaption {
  std::string text;
  Font font;
};

using CaptionForm = std::function<std::string(const std::string&)>;

// `compose` makes the caption from a (possibly shortened) name. The result
// is at most `width` page units wide by DrawnTextWidth where the caption
// without the name fits at the smallest size.
FittedCaption FitCaption(const std::string& name, const CaptionForm& compose, int width);

// The same with forms of the caption from the fullest to the shortest
// (the last one usually the name alone): where the fullest does not fit at
// the smallest size, a shorter form is taken before the name is shortened,
// so that the name, which tells the record, stays. A name too long for any
// form is shortened in the fullest form that keeps kNameTailKept of it.
FittedCaption FitCaption(const std::string& name, const std::vector<CaptionForm>& forms, int width);

// Bytes of a name's end that a shortened name keeps at least before the
// caption's other text gives way.
inline constexpr size_t kNameTailKept = 12;

// Page units kept free at each side of a caption.
inline constexpr int kCaptionIndent = 10;

}  // namespace zentrova
