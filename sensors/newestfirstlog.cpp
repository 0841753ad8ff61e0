#include "newestfirstlog.h"

#include <QAbstractListModel>

class NewestFirstLog::Model : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(m_lines.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_lines.size())
            return {};
        return m_lines[m_lines.size() - 1 - index.row()];
    }
    void add(const QString& line)
    {
        beginInsertRows(QModelIndex(), 0, 0);
        m_lines.append(line);
        endInsertRows();
    }
    void clear()
    {
        beginResetModel();
        m_lines.clear();
        endResetModel();
    }
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines; // oldest first
};

NewestFirstLog::NewestFirstLog(QWidget* parent) : QListView(parent), m_model(new Model(this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    setFocusPolicy(Qt::NoFocus);
}

void NewestFirstLog::addLine(const QString& line)
{
    m_model->add(line);
}

void NewestFirstLog::setLine(const QString& line)
{
    m_model->clear();
    m_model->add(line);
}

void NewestFirstLog::clear()
{
    m_model->clear();
}

int NewestFirstLog::count() const
{
    return int(m_model->lines().size());
}

QStringList NewestFirstLog::lines() const
{
    QStringList out;
    const QStringList& l = m_model->lines();
    out.reserve(l.size());
    for (qsizetype k = l.size() - 1; k >= 0; --k)
        out << l[k];
    return out;
}
