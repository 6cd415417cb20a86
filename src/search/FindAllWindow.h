// "Find in All Notes": a window beside the main window that lists every match of a text in every
// note, updated a moment after the last key. Showing a match is left to whoever opened it
// (showHit).
#pragma once

#include "search/NoteSearch.h"

#include <QWidget>
#include <functional>
#include <memory>

class NoteTextCache;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

class FindAllWindow : public QWidget
{
    Q_OBJECT
public:
    // sources gives the notes to search, as they are at the moment of each search.
    FindAllWindow(std::function<QList<SearchSource>()> sources,
        std::shared_ptr<NoteTextCache> cache, QWidget *parent = nullptr);

    static QString caption() { return QStringLiteral("Find in All Notes"); }
    // The count under the results: "N matches in M notes".
    static QString countText(int matches, int notes);
    // How long the results wait after the last key.
    static constexpr int delayMs = 300;

    // Searches at once, without waiting for the delay.
    void searchNow();
    // Brings the window to the front with its field ready for a new text.
    void present();
    QString needle() const;
    SearchOptions options() const;
    NoteSearch &search() { return *m_search; }

signals:
    // Enter or a double-click on a result.
    void showHit(const SearchHit &hit, const QString &needle, SearchOptions options);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addHits(const QList<SearchHit> &hits);
    void showCount(int matches, int notes);
    void activate(QTreeWidgetItem *item);

    std::function<QList<SearchSource>()> m_sources;
    NoteSearch *m_search;
    QLineEdit *m_field;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWords;
    QTreeWidget *m_results;
    QLabel *m_count;
    QTimer *m_delay;
    QList<SearchHit> m_hits;
    // The search the results are for: a later change of the field does not change what a row is.
    QString m_searched;
    SearchOptions m_searchedOptions;
    bool m_showFirst = false; // Enter came before the results
};
