#include "verror.h"

VError::VError(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8())
{
}

namespace {
VError& current()
{
    static VError e(0, QString());
    return e;
}
} // namespace

void setHandledError(const VError& error)
{
    current() = error;
}

const VError& handledError()
{
    return current();
}
