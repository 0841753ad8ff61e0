#include "busysign.h"

void BusySign::show(QWidget* form)
{
    if (m_form == form)
        return;
    clear();
    m_form = form;
    if (m_form)
        m_form->setCursor(Qt::WaitCursor);
}

void BusySign::clear()
{
    if (m_form)
        m_form->unsetCursor();
    m_form = nullptr;
}
