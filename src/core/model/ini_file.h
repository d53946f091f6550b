#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vellumar {

// Reads text in the INI format of project files. Section and key names match without regard
// to letter case; a value is the text after the first "=" without blanks at either end, and
// loses one pair of matching single or double quotation marks around it. Values are cut to
// kMaxValueLength characters. Where a section or key appears twice, the first one counts.
class IniReader {
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    explicit IniReader(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // The value, or fallback when the key is missing.
    std::string valueOr(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
    // The line (from 1) the key's value was read from, so a message can point at it.
    std::optional<int> lineOf(std::string_view section, std::string_view key) const;
    // Whether a section of that name was read, letter case aside.
    bool hasSection(std::string_view section) const;
    // The line (from 1) of the first NUL byte: a text file holds none, so a reader that
    // takes the text for what it says refuses it. The lines around it are read as usual.
    std::optional<int> firstNulLine() const { return m_firstNulLine; }

private:
    struct Value {
        std::string text;
        int line;
    };
    using Section = std::map<std::string, Value>;

    const Value* find(std::string_view section, std::string_view key) const;

    std::map<std::string, Section> m_sections;
    std::optional<int> m_firstNulLine;
};

// Writes INI text: CR LF line ends, a blank line between sections, names and values exactly
// as given.
class IniWriter {
public:
    void section(std::string_view name);
    void key(std::string_view name, std::string_view value);

    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace vellumar
