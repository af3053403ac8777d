#pragma once

#include <QList>
#include <QString>

// The runs of a command that failed, and the texts that tell the user: a
// command that changed a partition never ends in "Copy completed" or
// "Delete completed" when any of its runs failed.
class FailureList
{
public:
    // Items listed in the error box; the rest are counted.
    static constexpr int kListed = 10;

    // `what` names the item (a host file, "partition:file"); `reason` is the
    // tool's error text or a sentence of our own.
    void add(const QString& what, const QString& reason);
    bool isEmpty() const { return m_items.isEmpty(); }
    int count() const { return static_cast<int>(m_items.size()); }

    // For status panel 2: `failedWord` + ", " + "2 of 5 not " + `doneWord`
    // + ": " + the first item and the first line of its reason; e.g.
    // "Copy failed, 1 of 3 not copied: GAME.BAS: disk full".
    QString statusText(const QString& failedWord, const QString& doneWord, int total) const;
    // For the error box: `heading` and then one line per item (at most
    // kListed), each item followed by the first line of its reason.
    QString boxText(const QString& heading) const;

private:
    struct Item
    {
        QString what;
        QString reason;
    };
    QList<Item> m_items;
};
