#include "responsebox.h"

#include <QCheckBox>

ResponseBox::ResponseBox(QCheckBox *box, int tickedValue)
    : QObject(box)
    , m_box(box)
    , m_tickedValue(tickedValue)
{
    // The sheet found the box on its form by number; the scoring tables know no other values.
    Q_ASSERT_X(box, "ResponseBox", "a scored box missing from its form");
    Q_ASSERT(tickedValue >= 0 && tickedValue <= 2);
    connect(m_box, &QCheckBox::stateChanged, this, &ResponseBox::applyTickRule);
    applyTickRule();
}

ResponseBox::~ResponseBox() = default;

void ResponseBox::applyTickRule()
{
    if (m_box->checkState() == Qt::Checked) {
        m_boxScore = m_tickedValue;
        return;
    }
    // Score first: forcing a grayed box clear runs this rule again, nested.
    m_boxScore = 0;
    m_box->setCheckState(Qt::Unchecked);
}
