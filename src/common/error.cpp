#include "common/error.h"

namespace Korvane {

Error::Error(int code, const QString &localizedDescription, const QString &domain)
    : m_domain(domain)
    , m_code(code)
    , m_localizedDescription(localizedDescription)
{
}

} // namespace Korvane
