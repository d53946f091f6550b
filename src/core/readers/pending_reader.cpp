#include "pending_reader.h"

#include "project_error.h"

namespace vellumar {

void PendingReader::fail() const {
    throw ProjectError(m_formatName + " are not supported yet.");
}

} // namespace vellumar
