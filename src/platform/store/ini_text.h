#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt {

// The text of the settings file: "[section]" headers, one per executable name,
// each followed by "KEY=value" lines.
//
// Values and section names are written as they are, except for what would
// not read back the same, which is escaped with a backslash:
//   \\  a backslash      \n  a line feed       \r  a carriage return
//   \s  a space and \t a tab, used only for blanks at the start or the end,
//       which would otherwise be taken for layout and trimmed.
// Everything else (UTF-8 or any other byte, "=", "[", "]", "#") stands for
// itself, so any text round-trips.
//
// Reading is strict: a file we cannot read exactly is never guessed at. Every
// line must be one of
//   - blank, or a comment whose first non-blank character is '#' or ';'
//     (kept as written when the file is rewritten),
//   - a header "[name]" (blanks around it and inside the brackets are layout),
//   - "KEY=value" inside a section, KEY made of letters, digits, '-', '_' and
//     '.', blanks around KEY and value being layout.
// Anything else, an unknown escape, a backslash at the end of a value, a
// section or a key given twice is an error that names the line. Lines may end
// in "\n" or "\r\n"; a UTF-8 byte order mark at the start is skipped.
class IniText {
public:
    // Throws StoreError "<sourceName> line N: <what>; fix or remove the file".
    static IniText parse(std::string_view text, const std::string& sourceName);

    std::string format() const;

    // The value of the key, or nullptr when the section or the key is absent.
    const std::string* find(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or appends the key to its section,
    // or appends a new section holding it. The key must pass isValidKey, or
    // the text written would not read back.
    void set(std::string_view section, std::string_view key, std::string_view value);

    static bool isValidKey(std::string_view key);

private:
    // A line of a section as it will be written: a key and its value, or a
    // blank or comment line kept verbatim (key empty).
    struct Line {
        std::string key;
        std::string text;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    void parseLine(std::string_view line);
    void parseKeyLine(std::string_view trimmed);
    void separateNewSection();
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<std::string> leadingLines_; // comments before the first section
    std::vector<Section> sections_;
};

// Escapes text for one value or section name as described above.
std::string escapeIniText(std::string_view text);

} // namespace vt
