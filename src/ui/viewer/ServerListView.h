#pragma once

#include "core/viewer/ServerDescriptor.h"

#include <QObject>

class QTableWidget;
class QWidget;

// List 1012 of the connected servers: one row per listed session, row index
// = session index, server name and address centred.
class ServerListView : public QObject {
    Q_OBJECT
public:
    static constexpr int kCtrlId = 1012;

    explicit ServerListView(QWidget* window);

    int RowCount() const;
    void InsertRow(int index, const ServerDescriptor& server);
    void RemoveRow(int index);
    void Select(int index);
    void Focus();
    void SetVisible(bool visible);

signals:
    void rowClicked(int index);

private:
    QTableWidget* m_table;
};
