#pragma once

#include <stdexcept>
#include <string>

namespace vellumar {

// The one error type of the project. Its text is exactly what the user is shown, so
// front ends print what() and nothing else.
class ProjectError : public std::runtime_error {
public:
    explicit ProjectError(const std::string& userText) : std::runtime_error(userText) {}
};

} // namespace vellumar
