// The activation and modifier lines: what the reader accepts there silently.

#include "KeyNames.h"
#include "KeyTranslation.h"
#include "LayoutChecker.h"

using namespace layout_check;

namespace {
const char* const kActivationLfAlone =
    "the activation line ends with LF alone, not CR LF: the reader reads on into the next line as more "
    "activation keys";
}  // namespace

void LayoutChecker::OnActivationNumber(const Number& f, bool kept) {
    if (kept) {
        CheckActivationKey(f);
    } else {
        CheckDroppedActivationNumber(f);
    }
}

// The reader drops a last number without its ";".
void LayoutChecker::CheckDroppedActivationNumber(const Field& f) {
    if (activationRanOn_) {
        NoteBreaks(f.begin, f.end);
    } else if (!NoteLoneLf(f, kActivationLfAlone)) {
        Warn(f.begin, "the last activation number " + Excerpt(f) +
                          " has no \";\": the reader drops it, so that key is not needed for chords");
    }
}

void LayoutChecker::CheckActivationKey(const Field& f) {
    // Once the list has run on past its line, what follows are other lines read as numbers.
    if (activationRanOn_) {
        NoteBreaks(f.begin, f.end);
        return;
    }
    if (NoteLoneLf(f, kActivationLfAlone)) return;
    CheckDigits(f);
    const int code = tables_.ActivationKeys.back();
    const char* consequence =
        ", so it is never held: only an armed modifier could admit a key stroke, and none can be armed "
        "without it, so the layout types nothing";
    if (f.Empty()) {
        Warn(f.begin, std::string("empty activation number reads as 0") + consequence);
    } else if (!IsKeyCode(code)) {
        Warn(f.begin, "activation key " + std::to_string(code) + " is outside 1..254" + consequence);
    }
}

// An activation number that takes in an LF: reported once, and its breaks noted.
bool LayoutChecker::NoteLoneLf(const Field& f, const std::string& message) {
    const std::size_t lineBreak = FirstBreak(f);
    if (lineBreak == kNone) return false;
    Warn(lineBreak, message);
    NoteBreaks(f.begin, f.end);
    activationRanOn_ = true;
    return true;
}

void LayoutChecker::OnModifierNumber(const Number& f) {
    const std::size_t index = tables_.ModifierKeys.size() - 1;
    const std::string modifier = "modifier " + std::to_string(index);
    if (modifierRanOn_) {
        NoteBreaks(f.begin, f.end);
        return;
    }
    const std::size_t lineBreak = FirstBreak(f);
    if (lineBreak != kNone) {
        const bool lone = clean_.text[lineBreak] == '\n' || At(lineBreak + 1) != '\n';
        Warn(lineBreak, std::string(lone ? "the modifier line ends with a lone line break, not CR LF"
                                         : "the last modifier number has no \";\" before the end of its line") +
                            ": the reader runs the number on into the next line, up to the next \";\"");
        NoteBreaks(f.begin, f.end);
        modifierRanOn_ = true;
        return;
    }
    if (!f.terminated) {
        Warn(f.begin, "the last modifier number has no \";\": it runs on to the end of the file");
    }
    CheckDigits(f);
    const int code = tables_.ModifierKeys.back();
    if (f.Empty()) {
        Warn(f.begin, "empty modifier key reads as 0, which matches no key: " + modifier + " can never be armed");
        return;
    }
    if (!IsKeyCode(code)) {
        Warn(f.begin, "modifier key " + std::to_string(code) + " is outside 1..254: " + modifier +
                          " can never be armed");
        return;
    }
    if (IsPassThroughKey(static_cast<uint32_t>(code))) {
        Warn(f.begin, "modifier key " + std::to_string(code) + " (" + KeyName(code) +
                          ") is a pass-through key that the engine never handles: " + modifier +
                          " can never be armed");
        return;
    }
    const auto earlier = modifierIndexByKey_.find(code);
    if (earlier != modifierIndexByKey_.end()) {
        Warn(f.begin, "modifier key " + std::to_string(code) + " (" + KeyName(code) +
                          ") is listed twice, as modifiers " + std::to_string(earlier->second) + " and " +
                          std::to_string(index) + ": the later one is armed, so rows for modifier " +
                          std::to_string(earlier->second) + " never apply");
    }
    modifierIndexByKey_[code] = index;
}

void LayoutChecker::OnLayoutHeader(std::size_t headerEnd, std::size_t lineEnd) {
    if (lineEnd > headerEnd) {
        Warn(headerEnd, "text after \"LAYOUT:\" on its line is ignored: rows begin on the next line");
    }
}
