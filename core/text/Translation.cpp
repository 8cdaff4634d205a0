#include "Translation.h"

#include <atomic>
#include <vector>

namespace quorvane::core {

namespace {

// Set once by the window before any run; the image conversion's workers may word texts too.
std::atomic<Translator> installedTranslator{nullptr};

} // namespace

void setTranslator(Translator translator)
{
    installedTranslator.store(translator);
}

std::string translate(const char* context, const char* sourceText, const char* disambiguation, int n)
{
    if (const Translator translator = installedTranslator.load()) {
        return translator(context, sourceText, disambiguation, n);
    }
    std::string text = sourceText;
    if (n >= 0) {
        const std::string number = std::to_string(n);
        for (std::size_t at = text.find("%n"); at != std::string::npos;
             at = text.find("%n", at + number.size())) {
            text.replace(at, 2, number);
        }
    }
    return text;
}

std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    const std::vector<std::string_view> values(arguments);
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < values.size()) {
                result.append(values[index]);
                ++i;
                continue;
            }
        }
        result.push_back(text[i]);
    }
    return result;
}

} // namespace quorvane::core
