#include "ini_file.h"

#include <set>

#include "text_util.h"

namespace vellumar {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string unquoted(std::string value) {
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

} // namespace

IniReader::IniReader(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::set<std::string> seen;
    Section* current = nullptr;
    int lineNumber = 0;
    for (const std::string& rawLine : splitLinesKeepingNul(text)) {
        ++lineNumber;
        if (!m_firstNulLine && rawLine.find('\0') != std::string::npos) {
            m_firstNulLine = lineNumber;
        }
        const std::string line = trimBlanksAndControls(rawLine);
        if (line.starts_with('[')) {
            const std::string name = toLowerAscii(
                trimBlanksAndControls(std::string_view(line).substr(1, line.find(']') - 1)));
            // Keys of a repeated section are not read; the first section of a name counts.
            current = seen.insert(name).second ? &m_sections[name] : nullptr;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string::npos) {
            continue;
        }
        std::string value = unquoted(trimBlanksAndControls(line.substr(equals + 1)));
        if (value.size() > kMaxValueLength) {
            value.resize(kMaxValueLength);
        }
        current->try_emplace(toLowerAscii(trimBlanksAndControls(line.substr(0, equals))),
                             Value{std::move(value), lineNumber});
    }
}

const IniReader::Value* IniReader::find(std::string_view section, std::string_view key) const {
    const auto foundSection = m_sections.find(toLowerAscii(section));
    if (foundSection == m_sections.end()) {
        return nullptr;
    }
    const auto found = foundSection->second.find(toLowerAscii(key));
    return found == foundSection->second.end() ? nullptr : &found->second;
}

std::optional<std::string> IniReader::value(std::string_view section, std::string_view key) const {
    if (const Value* found = find(section, key)) {
        return found->text;
    }
    return std::nullopt;
}

std::string IniReader::valueOr(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    return value(section, key).value_or(std::string(fallback));
}

std::optional<int> IniReader::lineOf(std::string_view section, std::string_view key) const {
    if (const Value* found = find(section, key)) {
        return found->line;
    }
    return std::nullopt;
}

bool IniReader::hasSection(std::string_view section) const {
    return m_sections.contains(toLowerAscii(section));
}

void IniWriter::section(std::string_view name) {
    if (!m_text.empty()) {
        m_text += "\r\n";
    }
    m_text.append("[").append(name).append("]\r\n");
}

void IniWriter::key(std::string_view name, std::string_view value) {
    m_text.append(name).append("=").append(value).append("\r\n");
}

} // namespace vellumar
