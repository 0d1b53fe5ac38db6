#include "common/korvaneerror.h"

KorvaneError::KorvaneError(int code, const QString &localizedDescription, const QString &domain)
    : m_domain(domain)
    , m_code(code)
    , m_localizedDescription(localizedDescription)
{
}
