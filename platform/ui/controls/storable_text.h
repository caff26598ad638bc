#pragma once
// Typed text the program can store: its text is single-byte Windows-1252, so
// an entry refuses a character outside it (typed or pasted) instead of
// changing it silently into "?", and says which characters it refused.

#include <QValidator>

#include <string>

namespace fw {

class StorableTextValidator : public QValidator {
public:
    explicit StorableTextValidator(QObject* parent = nullptr) : QValidator(parent) {}

    // Invalid for a text holding a character Windows-1252 lacks; the entry
    // then keeps its text and shows which characters were refused.
    State validate(QString& input, int& pos) const override;

    // The characters last refused ("U+6B4C"), empty when none was.
    const std::string& Refused() const { return refused_; }

private:
    mutable std::string refused_;
};

// The tip an entry shows when it refuses characters.
std::string RefusedCharactersText(const std::string& characters);

}  // namespace fw
