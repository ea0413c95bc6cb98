#include "common/translate.h"

#include "engine/scl.h"

namespace tamsel {

std::string translate(const char* context, const char* source) {
    Translator* translator = SCL::translator();
    return translator ? translator->translate(context, source) : std::string(source);
}

std::string fill(std::string_view text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tamsel
