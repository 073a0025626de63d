#include "platform/keys/keystroke_notation.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/failures.h"
#include "platform/keys/notation_tokens.h"
#include "platform/keys/utf8.h"

namespace vt {

namespace {

Modifiers combine(Modifiers a, const Modifiers& b)
{
    a.shift = a.shift || b.shift;
    a.control = a.control || b.control;
    a.alt = a.alt || b.alt;
    return a;
}

void addModifier(Modifiers& modifiers, char32_t symbol)
{
    if (symbol == U'+')
        modifiers.shift = true;
    if (symbol == U'^')
        modifiers.control = true;
    if (symbol == U'%')
        modifiers.alt = true;
}

// Turns tokens into key actions: a run of modifiers applies to the next key or
// to every key of the next "( )" group; groups nest and their modifiers add up.
class ActionBuilder {
public:
    explicit ActionBuilder(std::u32string_view text) : text_(text) {}

    void add(const NotationToken& token)
    {
        switch (token.kind) {
        case NotationToken::Kind::Modifier:
            addModifierToken(token);
            break;
        case NotationToken::Kind::Key:
            addKey(token);
            break;
        case NotationToken::Kind::GroupOpen:
            openGroup(token);
            break;
        case NotationToken::Kind::GroupClose:
            closeGroup(token);
            break;
        }
    }

    KeyActions finish()
    {
        requireNoPendingModifier();
        if (!groups_.empty()) {
            throwNotationError(text_, groups_.back().openIndex, 1, "this parenthesis is never closed");
        }
        return std::move(actions_);
    }

private:
    struct Group {
        Modifiers modifiers;     // everything that applies inside, enclosing groups included
        std::size_t prefixIndex; // where its modifier run (or the "(" itself) starts
        std::size_t openIndex;
        std::size_t firstAction;
        bool ownModifiers;
    };

    struct PendingModifiers {
        Modifiers modifiers;
        std::size_t firstIndex;
        std::size_t lastIndex;
    };

    Modifiers enclosing() const { return groups_.empty() ? Modifiers{} : groups_.back().modifiers; }

    void addModifierToken(const NotationToken& token)
    {
        if (!pending_)
            pending_ = PendingModifiers{{}, token.index, token.index};
        addModifier(pending_->modifiers, token.modifier);
        pending_->lastIndex = token.index;
    }

    Modifiers takePending()
    {
        const Modifiers taken = pending_ ? pending_->modifiers : Modifiers{};
        pending_.reset();
        return taken;
    }

    void addKey(const NotationToken& token)
    {
        const KeyAction action{token.key, combine(enclosing(), takePending())};
        actions_.insert(actions_.end(), token.repeat, action);
    }

    void openGroup(const NotationToken& token)
    {
        const std::size_t prefixIndex = pending_ ? pending_->firstIndex : token.index;
        const bool ownModifiers = pending_.has_value();
        const Modifiers modifiers = combine(enclosing(), takePending());
        groups_.push_back({modifiers, prefixIndex, token.index, actions_.size(), ownModifiers});
    }

    void closeGroup(const NotationToken& token)
    {
        requireNoPendingModifier();
        if (groups_.empty()) {
            throwNotationError(text_, token.index, 1, "a closing parenthesis without an opening one");
        }
        const Group group = groups_.back();
        groups_.pop_back();
        if (group.ownModifiers && group.firstAction == actions_.size()) {
            throwNotationError(text_, group.prefixIndex, token.index - group.prefixIndex + 1,
                               "the modifier has nothing to modify");
        }
    }

    void requireNoPendingModifier() const
    {
        if (pending_) {
            throwNotationError(text_, pending_->firstIndex, pending_->lastIndex - pending_->firstIndex + 1,
                               "the modifier has nothing to modify");
        }
    }

    std::u32string_view text_;
    KeyActions actions_;
    std::vector<Group> groups_;
    std::optional<PendingModifiers> pending_;
};

std::u32string decodeNotation(std::string_view notation)
{
    Utf8Decoding decoded = decodeUtf8(notation);
    if (!decoded.valid()) {
        const std::size_t position = decoded.text.size() + 1;
        const std::string token = hexEscaped(decoded.badBytes);
        throw NotationError(position, token,
                            "bad keystroke notation at position " + std::to_string(position) + ": '" + token +
                                "' (not valid UTF-8 text)");
    }
    return std::move(decoded.text);
}

} // namespace

KeyActions parseKeystrokes(std::string_view notation)
{
    const std::u32string text = decodeNotation(notation);
    ActionBuilder builder(text);
    for (const NotationToken& token : tokenizeNotation(text))
        builder.add(token);
    return builder.finish();
}

} // namespace vt
