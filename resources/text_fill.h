// A text of the string table with its places filled: "%1".."%9" stand for the arguments,
// so that each language can put them where its sentence needs them.
#ifndef ORVANE_RESOURCES_TEXT_FILL_H
#define ORVANE_RESOURCES_TEXT_FILL_H

#include <initializer_list>
#include <string>
#include <string_view>

namespace orvane {

// The pattern with every "%n" replaced by argument n (from 1); a place without an argument
// stays as it is, and an argument's own "%" signs are not read again.
std::string filledText(std::string_view pattern, std::initializer_list<std::string_view> args);

// Text of our own id in the language of offset (0 German, 1000 English), filled.
std::string localizedText(int id, int offset, std::initializer_list<std::string_view> args = {});

} // namespace orvane

#endif
