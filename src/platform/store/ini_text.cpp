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

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char unescapedChar(char code)
{
    switch (code) {
    case '\\':
        return '\\';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 's':
        return ' ';
    case 't':
        return '\t';
    }
    throw LineProblem{std::string("unknown escape '\\") + code + "' (known: \\\\ \\n \\r \\s \\t)"};
}

std::string unescape(std::string_view text)
{
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

void appendEscaped(std::string& out, char c, bool atEdge)
{
    switch (c) {
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case ' ':
        out += atEdge ? "\\s" : " ";
        return;
    case '\t':
        out += atEdge ? "\\t" : "\t";
        return;
    default:
        out += c;
        return;
    }
}

// Splits text into lines at "\n". A line keeps its "\r": a comment is written
// back byte for byte, and only the parser drops a "\r" before the "\n".
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view lastLineOf(std::string_view block)
{
    const auto lastBreak = block.rfind('\n');
    return lastBreak == std::string_view::npos ? block : block.substr(lastBreak + 1);
}

std::string_view withoutCarriageReturn(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// Carriage returns at the end of a line are layout (a comment keeps them);
// one followed by more text splits what was meant as two lines.
bool hasInnerCarriageReturn(std::string_view line)
{
    const auto last = line.find_last_not_of('\r');
    return last != std::string_view::npos && line.substr(0, last).find('\r') != std::string_view::npos;
}

bool isCommentOrBlank(std::string_view trimmed)
{
    return trimmed.empty() || trimmed.front() == '#' || trimmed.front() == ';';
}

std::string sectionName(std::string_view trimmed)
{
    if (trimmed.size() < 2 || trimmed.back() != ']') {
        throw LineProblem{"a section header must be [name] with nothing after the ']'"};
    }
    return unescape(trimBlanks(trimmed.substr(1, trimmed.size() - 2)));
}

} // namespace

std::string escapeIniText(std::string_view text)
{
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

bool IniText::isValidKey(std::string_view key)
{
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.';
    });
}

IniText IniText::parse(std::string_view text, const std::string& sourceName)
{
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    IniText ini;
    const auto lines = splitLines(text);
    // Room for every section at once: growing a table of 100,000 sections
    // step by step costs more than the whole rest of the parse.
    const auto headers = std::min(lines.size(), static_cast<std::size_t>(std::count(text.begin(), text.end(), '[')));
    ini.sections_.reserve(headers);
    ini.sectionIndex_.reserve(headers);
    for (std::size_t number = 1; number <= lines.size(); ++number) {
        try {
            ini.parseLine(lines[number - 1], number);
        } catch (const LineProblem& problem) {
            throw StoreError(sourceName + " line " + std::to_string(number) + ": " + problem.why +
                             "; fix or remove the file");
        }
    }
    return ini;
}

void IniText::parseLine(std::string_view line, std::size_t number)
{
    // A carriage return with more of the line after it: most likely a file
    // with old Mac line endings, whose lines would all read as one (a first
    // line that is a comment would hide every setting).
    if (hasInnerCarriageReturn(line)) {
        throw LineProblem{"a carriage return that does not end the line (old Mac line endings?); "
                          "lines must end in LF or CR LF"};
    }
    const auto trimmed = trimBlanks(withoutCarriageReturn(line));
    if (isCommentOrBlank(trimmed)) {
        keepVerbatim(line);
    } else if (trimmed.front() == '[') {
        addSection(sectionName(trimmed));
    } else {
        parseKeyLine(line, trimmed, number);
    }
}

// Comment and blank lines in a row are kept as one block: a file of a
// million blank lines then costs a few megabytes, not a hundred.
void IniText::keepVerbatim(std::string_view line)
{
    if (sections_.empty()) {
        if (leadingLines_.empty()) {
            leadingLines_.emplace_back(line);
        } else {
            leadingLines_.back() += '\n';
            leadingLines_.back() += line;
        }
        return;
    }
    auto& lines = sections_.back().lines;
    if (!lines.empty() && lines.back().key.empty()) {
        lines.back().text += '\n';
        lines.back().text += line;
    } else {
        lines.push_back({{}, std::string(line), {}});
    }
}

void IniText::parseKeyLine(std::string_view line, std::string_view trimmed, std::size_t number)
{
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos) {
        throw LineProblem{"expected [section], KEY=value, a # comment or a blank line"};
    }
    std::string key(trimBlanks(trimmed.substr(0, equals)));
    if (!isValidKey(key)) {
        throw LineProblem{"'" + key + "' is not a key name (letters, digits, '-', '_', '.')"};
    }
    if (sections_.empty()) {
        throw LineProblem{"key " + key + " comes before any [section]"};
    }
    auto& section = sections_.back();
    if (section.keyLines.contains(key)) {
        throw LineProblem{"key " + key + " is given a second time in its section"};
    }
    const auto written = trimBlanks(trimmed.substr(equals + 1));
    Line parsed{key, {}, {}};
    try {
        parsed.text = unescape(written);
    } catch (const LineProblem& problem) {
        // One mistyped escape spoils that one value, not the whole file; its
        // line is written back exactly as it was found.
        parsed.text = line;
        parsed.problem = "line " + std::to_string(number) + ": " + problem.why;
    }
    section.keyLines.emplace(std::move(key), section.lines.size());
    section.lines.push_back(std::move(parsed));
}

std::string IniText::format() const
{
    std::string out;
    for (const auto& line : leadingLines_) {
        out += line + '\n';
    }
    for (const auto& section : sections_) {
        out += '[' + escapeIniText(section.name) + "]\n";
        for (const auto& line : section.lines) {
            if (line.key.empty() || !line.problem.empty()) {
                out += line.text;
            } else {
                out += line.key;
                out += '=';
                out += escapeIniText(line.text);
            }
            out += '\n';
        }
    }
    return out;
}

const IniText::Line* IniText::findLine(std::string_view section, std::string_view key) const
{
    const auto* found = findSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    const auto line = found->keyLines.find(std::string(key));
    return line == found->keyLines.end() ? nullptr : &found->lines[line->second];
}

const std::string* IniText::find(std::string_view section, std::string_view key) const
{
    const auto* line = findLine(section, key);
    return line != nullptr && line->problem.empty() ? &line->text : nullptr;
}

const std::string* IniText::badValue(std::string_view section, std::string_view key) const
{
    const auto* line = findLine(section, key);
    return line != nullptr && !line->problem.empty() ? &line->problem : nullptr;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value)
{
    auto* target = findSection(section);
    if (target == nullptr) {
        separateNewSection();
        target = &addSection(std::string(section));
    }
    if (const auto found = target->keyLines.find(std::string(key)); found != target->keyLines.end()) {
        target->lines[found->second] = Line{std::string(key), std::string(value), {}};
        return;
    }
    // After the section's last key, so comments and blank lines that follow
    // it (such as the gap before the next section) stay where they are.
    const auto lastKey =
        std::find_if(target->lines.rbegin(), target->lines.rend(), [](const Line& line) { return !line.key.empty(); });
    const auto at = static_cast<std::size_t>(lastKey.base() - target->lines.begin());
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{std::string(key), std::string(value), {}});
    for (auto& [name, index] : target->keyLines) {
        index += index >= at ? 1 : 0;
    }
    target->keyLines.emplace(std::string(key), at);
}

IniText::Section& IniText::addSection(std::string name)
{
    if (!sectionIndex_.try_emplace(name, sections_.size()).second) {
        throw LineProblem{"section [" + name + "] is given a second time"};
    }
    return sections_.emplace_back(Section{std::move(name), {}, {}});
}

// A blank line before a section we add, unless the file is empty or already
// ends in one; it belongs to the section above, like a hand-written gap.
void IniText::separateNewSection()
{
    if (sections_.empty()) {
        if (!leadingLines_.empty() && !trimBlanks(withoutCarriageReturn(lastLineOf(leadingLines_.back()))).empty()) {
            leadingLines_.emplace_back();
        }
        return;
    }
    auto& lines = sections_.back().lines;
    if (lines.empty() || !lines.back().key.empty() ||
        !trimBlanks(withoutCarriageReturn(lastLineOf(lines.back().text))).empty()) {
        lines.push_back({});
    }
}

const IniText::Section* IniText::findSection(std::string_view name) const
{
    const auto found = sectionIndex_.find(std::string(name));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniText::Section* IniText::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

} // namespace vt
