// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QMetaProperty>
#include <QVariant>

// A read-only list of one gadget type for a QML repeater: each property of
// the gadget is a role of that name, so a delegate declares exactly what it
// shows as required properties. Setting equal items again announces nothing.
class GadgetListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit GadgetListModel(const QMetaObject &type, QObject *parent = nullptr)
        : QAbstractListModel(parent), m_type(type)
    {
    }

    template <typename T>
    void setItems(const QList<T> &items)
    {
        QList<QVariant> values;
        values.reserve(items.size());
        for (const T &item : items)
            values.append(QVariant::fromValue(item));
        if (values == m_items)
            return;
        if (values.size() != m_items.size()) {
            beginResetModel();
            m_items = values;
            endResetModel();
            return;
        }
        m_items = values;
        Q_EMIT dataChanged(index(0), index(int(m_items.size()) - 1));
    }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_items.size());
    }

    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override
    {
        const int property = role - Qt::UserRole;
        if (!checkIndex(index, CheckIndexOption::IndexIsValid) || property < 0
            || property >= m_type.propertyCount())
            return {};
        return m_type.property(property).readOnGadget(m_items.at(index.row()).constData());
    }

    [[nodiscard]] QHash<int, QByteArray> roleNames() const override
    {
        QHash<int, QByteArray> names;
        for (int i = 0; i < m_type.propertyCount(); ++i)
            names.insert(Qt::UserRole + i, m_type.property(i).name());
        return names;
    }

private:
    const QMetaObject &m_type;
    QList<QVariant> m_items;
};
