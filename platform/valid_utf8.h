#pragma once
// Text as a drawing library takes it: UTF-8 throughout. A file name or a
// site name may hold bytes of another encoding (Latin-1 "lat\xe9in1.dat");
// each byte that does not begin a well-formed UTF-8 character becomes the
// replacement character U+FFFD, so that the rest of the text is drawn.

#include <string>

namespace zentrova {

std::string ValidUtf8(const std::string& text);

// The length of the well-formed UTF-8 character at s[at] (1 for ASCII), 0
// when none begins there: no overlong forms, no surrogates, nothing above
// U+10FFFF.
size_t Utf8CharacterLength(const std::string& s, size_t at);

}  // namespace zentrova
