#pragma once

#include <string>
#include <string_view>

namespace tavoe {

namespace ui {

// Captions follow the usual control convention: a single "&" marks the next character as the
// control's access key and is not shown, "&&" shows one "&".
enum class TextPrefix : uint8_t { Mnemonic, Literal };

std::string StripMnemonic(std::string_view text);
// The upper-cased access key of a caption, or 0 when it has none.
char MnemonicOf(std::string_view text);
// The caption as shown under the given convention.
inline std::string ShownText(std::string_view text, TextPrefix prefix) {
    return prefix == TextPrefix::Mnemonic ? StripMnemonic(text) : std::string(text);
}

}  // namespace ui

}  // namespace tavoe
