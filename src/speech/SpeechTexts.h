#pragma once
#include <span>

namespace speech {

// A button of the speech board that always speaks the same text.
struct Spoken {
    const char *name; // objectName
    const char *caption;
    const char *text; // sent to the voice exactly as written
};

// Every such button: the letters A to Z first, then the digits, the dot and the phrases.
std::span<const Spoken> spokenButtons();
// The button of this name; nullptr when there is none.
const Spoken *spoken(const char *name);

// The spelling word shown beside each letter, A to Z, with the label that carries it.
struct Spelling {
    const char *label;
    const char *word;
};
std::span<const Spelling, 26> spellingWords();

} // namespace speech
