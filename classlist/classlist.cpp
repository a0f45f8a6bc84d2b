#include "classlist.h"

ClassList::ClassList(QObject *parent)
    : QObject(parent)
{
}

ClassList::~ClassList() = default;

void ClassList::add(ChildRecord record)
{
    m_rows.push_back(std::move(record));
}

int ClassList::count() const
{
    return static_cast<int>(m_rows.size());
}

void ClassList::showWindow()
{
}

bool ClassList::mayDiscard(QWidget *)
{
    return true;
}

QWidget *ClassList::window() const
{
    return nullptr;
}
