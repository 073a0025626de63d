#include "platform/store/ini_text.h"

#include "platform/failures.h"

#include <algorithm>
#include <utility>

namespace vt {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What is wrong with one line; parse() adds the file name and line number.
struct LineProblem {
    std::string why;
};

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char unescapedChar(char code) {
    switch (code) {
    case '\\': return '\\';
    case 'n': return '\n';
    case 'r': return '\r';
    case 's': return ' ';
    case 't': return '\t';
    }
    throw LineProblem{std::string("unknown escape '\\") + code +
                      "' (known: \\\\ \\n \\r \\s \\t)"};
}

std::string unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
        } else if (i + 1 == text.size()) {
            throw LineProblem{"a backslash ends the line (write \\\\ for a backslash)"};
        } else {
            out += unescapedChar(text[++i]);
        }
    }
    return out;
}

void appendEscaped(std::string& out, char c, bool atEdge) {
    switch (c) {
    case '\\': out += "\\\\"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case ' ': out += atEdge ? "\\s" : " "; return;
    case '\t': out += atEdge ? "\\t" : "\t"; return;
    default: out += c; return;
    }
}

// Splits text into lines at "\n", dropping a "\r" before it.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool isCommentOrBlank(std::string_view trimmed) {
    return trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';';
}

std::string sectionName(std::string_view trimmed) {
    if (trimmed.size() < 2 || trimmed.back() != ']') {
        throw LineProblem{"a section header must be [name] with nothing after the ']'"};
    }
    return unescape(trimBlanks(trimmed.substr(1, trimmed.size() - 2)));
}

} // namespace

std::string escapeIniText(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    const auto last = text.find_last_not_of(kBlanks);
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool atEdge = first == std::string_view::npos || i < first || i > last;
        appendEscaped(out, text[i], atEdge);
    }
    return out;
}

bool IniText::isValidKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '_' || c == '.';
    });
}

IniText IniText::parse(std::string_view text, const std::string& sourceName) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    IniText ini;
    const auto lines = splitLines(text);
    for (std::size_t number = 1; number <= lines.size(); ++number) {
        try {
            ini.parseLine(lines[number - 1]);
        } catch (const LineProblem& problem) {
            throw StoreError(sourceName + " line " + std::to_string(number) + ": " + problem.why +
                             "; fix or remove the file");
        }
    }
    return ini;
}

void IniText::parseLine(std::string_view line) {
    const auto trimmed = trimBlanks(line);
    if (isCommentOrBlank(trimmed)) {
        if (sections_.empty()) {
            leadingLines_.emplace_back(line);
        } else {
            sections_.back().lines.push_back({{}, std::string(line)});
        }
    } else if (trimmed.front() == '[') {
        auto name = sectionName(trimmed);
        if (findSection(name) != nullptr) {
            throw LineProblem{"section [" + name + "] is given a second time"};
        }
        sections_.push_back({std::move(name), {}});
    } else {
        parseKeyLine(trimmed);
    }
}

void IniText::parseKeyLine(std::string_view trimmed) {
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        throw LineProblem{"expected [section], KEY=value, a # comment or a blank line"};
    }
    const std::string key(trimBlanks(trimmed.substr(0, equals)));
    if (!isValidKey(key)) {
        throw LineProblem{"'" + key + "' is not a key name (letters, digits, '-', '_', '.')"};
    }
    if (sections_.empty()) {
        throw LineProblem{"key " + key + " comes before any [section]"};
    }
    if (find(sections_.back().name, key) != nullptr) {
        throw LineProblem{"key " + key + " is given a second time in its section"};
    }
    auto value = unescape(trimBlanks(trimmed.substr(equals + 1)));
    sections_.back().lines.push_back({key, std::move(value)});
}

std::string IniText::format() const {
    std::string out;
    for (const auto& line : leadingLines_) {
        out += line + '\n';
    }
    for (const auto& section : sections_) {
        out += '[' + escapeIniText(section.name) + "]\n";
        for (const auto& line : section.lines) {
            out += line.key.empty() ? line.text : line.key + '=' + escapeIniText(line.text);
            out += '\n';
        }
    }
    return out;
}

const std::string* IniText::find(std::string_view section, std::string_view key) const {
    const auto* found = findSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    for (const auto& line : found->lines) {
        if (!line.key.empty() && line.key == key) {
            return &line.text;
        }
    }
    return nullptr;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    auto* target = findSection(section);
    if (target == nullptr) {
        separateNewSection();
        target = &sections_.emplace_back(Section{std::string(section), {}});
    }
    for (auto& line : target->lines) {
        if (!line.key.empty() && line.key == key) {
            line.text = value;
            return;
        }
    }
    // After the section's last key, so comments and blank lines that follow
    // it (such as the gap before the next section) stay where they are.
    auto lastKey = std::find_if(target->lines.rbegin(), target->lines.rend(),
                                [](const Line& line) { return !line.key.empty(); });
    target->lines.insert(lastKey.base(), Line{std::string(key), std::string(value)});
}

// A blank line before a section we add, unless the file is empty or already
// ends in one; it belongs to the section above, like a hand-written gap.
void IniText::separateNewSection() {
    if (sections_.empty()) {
        if (!leadingLines_.empty() && !trimBlanks(leadingLines_.back()).empty()) {
            leadingLines_.emplace_back();
        }
        return;
    }
    auto& lines = sections_.back().lines;
    if (lines.empty() || !lines.back().key.empty() || !trimBlanks(lines.back().text).empty()) {
        lines.push_back({});
    }
}

const IniText::Section* IniText::findSection(std::string_view name) const {
    for (const auto& section : sections_) {
        if (section.name == name) {
            return &section;
        }
    }
    return nullptr;
}

IniText::Section* IniText::findSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

} // namespace vt
