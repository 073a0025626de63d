#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
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
//     (kept byte for byte when the file is rewritten, a carriage return too),
//   - a header "[name]" (blanks around it and inside the brackets are layout),
//   - "KEY=value" inside a section, KEY made of letters, digits, '-', '_' and
//     '.', blanks around KEY and value being layout.
// Anything else, a section or a key given twice, is an error of the whole file
// that names the line. A value with an unknown escape or a backslash at its
// end is only that key's problem: the key reads as a bad value (badValue says
// why) and its line is written back as it was until the key is set anew.
// Lines may end in "\n" or "\r\n"; a carriage return with more of the line
// after it (a file with old Mac line endings) is an error of the whole file,
// since its lines would read as one. A UTF-8 byte order mark at the start is skipped. Parsing and lookups take time
// linear in the file's size.
class IniText {
public:
    // Throws StoreError "<sourceName> line N: <what>; fix or remove the file".
    static IniText parse(std::string_view text, const std::string& sourceName);

    std::string format() const;

    // The value of the key, or nullptr when the section or the key is absent
    // or its value does not decode.
    const std::string* find(std::string_view section, std::string_view key) const;

    // Why the key's stored value does not decode ("line 4: unknown escape
    // '\q' ..."), or nullptr when it is absent or decodes.
    const std::string* badValue(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or appends the key to its section,
    // or appends a new section holding it. The key must pass isValidKey, or
    // the text written would not read back.
    void set(std::string_view section, std::string_view key, std::string_view value);

    static bool isValidKey(std::string_view key);

private:
    // A line of a section as it will be written: a key and its value, or
    // blank and comment lines kept verbatim (key empty; several lines in a
    // row joined by "\n"). A value that does not
    // decode keeps its whole line as written and says why in problem.
    struct Line {
        std::string key;
        std::string text;
        std::string problem;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> keyLines; // key -> index in lines
    };

    void parseLine(std::string_view line, std::size_t number);
    void parseKeyLine(std::string_view line, std::string_view trimmed, std::size_t number);
    void keepVerbatim(std::string_view line);
    void separateNewSection();
    Section& addSection(std::string name);
    const Line* findLine(std::string_view section, std::string_view key) const;
    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<std::string> leadingLines_; // comments before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // name -> index in sections_
};

// Escapes text for one value or section name as described above.
std::string escapeIniText(std::string_view text);

} // namespace vt
