#include "search/FindAllWindow.h"

#include "search/HitDelegate.h"
#include "search/NoteTextCache.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QTreeWidget>

FindAllWindow::FindAllWindow(std::function<QList<SearchSource>()> sources,
    std::shared_ptr<NoteTextCache> cache, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_sources(std::move(sources))
    , m_search(new NoteSearch(std::move(cache), this))
{
    setObjectName(QStringLiteral("frmFindAll"));
    setWindowTitle(caption());

    auto *label = new QLabel(QStringLiteral("Fi&nd:"), this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("txtFindAll"));
    label->setBuddy(m_field);
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_wholeWords = new QCheckBox(QStringLiteral("&Whole words"), this);
    m_wholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    m_results = new QTreeWidget(this);
    m_results->setObjectName(QStringLiteral("lstFindAllResults"));
    m_results->setColumnCount(2);
    m_results->setHeaderHidden(true);
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->setItemDelegateForColumn(1, new HitDelegate(m_results));
    m_results->header()->setStretchLastSection(true);
    m_results->setColumnWidth(0, 150);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lblFindAllCount"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdFindAllClose"));
    close->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_field, 0, 1);
    auto *optionsRow = new QHBoxLayout;
    optionsRow->addWidget(m_matchCase);
    optionsRow->addWidget(m_wholeWords);
    optionsRow->addStretch();
    layout->addLayout(optionsRow, 1, 1);
    layout->addWidget(m_results, 2, 0, 1, 2);
    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(m_count, 1);
    bottomRow->addWidget(close);
    layout->addLayout(bottomRow, 3, 0, 1, 2);
    resize(640, 420);

    m_delay = new QTimer(this);
    m_delay->setSingleShot(true);
    m_delay->setInterval(delayMs);
    connect(m_delay, &QTimer::timeout, this, &FindAllWindow::searchNow);
    connect(m_field, &QLineEdit::textChanged, m_delay, qOverload<>(&QTimer::start));
    connect(m_matchCase, &QCheckBox::toggled, this, &FindAllWindow::searchNow);
    connect(m_wholeWords, &QCheckBox::toggled, this, &FindAllWindow::searchNow);
    connect(m_search, &NoteSearch::hitsFound, this, &FindAllWindow::addHits);
    connect(m_search, &NoteSearch::finished, this, &FindAllWindow::showCount);
    connect(m_results, &QTreeWidget::itemActivated, this, &FindAllWindow::activate);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    m_field->installEventFilter(this);
}

QString FindAllWindow::countText(int matches, int notes)
{
    return QStringLiteral("%1 %2 in %3 %4")
        .arg(matches)
        .arg(matches == 1 ? QStringLiteral("match") : QStringLiteral("matches"))
        .arg(notes)
        .arg(notes == 1 ? QStringLiteral("note") : QStringLiteral("notes"));
}

QString FindAllWindow::needle() const
{
    return m_field->text();
}

SearchOptions FindAllWindow::options() const
{
    return { m_matchCase->isChecked(), m_wholeWords->isChecked() };
}

void FindAllWindow::present()
{
    show();
    raise();
    activateWindow();
    m_field->setFocus(Qt::OtherFocusReason);
    m_field->selectAll();
}

void FindAllWindow::searchNow()
{
    m_delay->stop();
    m_results->clear();
    m_hits.clear();
    m_searched = needle();
    m_searchedOptions = options();
    m_count->clear();
    if (m_searched.isEmpty()) {
        m_search->cancel();
        return;
    }
    m_search->start(m_sources ? m_sources() : QList<SearchSource>(), m_searched, m_searchedOptions);
}

void FindAllWindow::addHits(const QList<SearchHit> &hits)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(hits.size());
    for (const SearchHit &hit : hits) {
        auto *item = new QTreeWidgetItem({ hit.label, hit.excerpt.text });
        item->setData(0, Qt::UserRole, int(m_hits.size()));
        item->setData(1, HitDelegate::startRole, int(hit.excerpt.start));
        item->setData(1, HitDelegate::lengthRole, int(hit.excerpt.length));
        item->setToolTip(1, hit.excerpt.text);
        items.append(item);
        m_hits.append(hit);
    }
    m_results->addTopLevelItems(items);
    if (m_showFirst && m_results->topLevelItemCount() > 0) {
        m_showFirst = false;
        activate(m_results->topLevelItem(0));
    }
}

void FindAllWindow::showCount(int matches, int notes)
{
    m_showFirst = false;
    m_count->setText(countText(matches, notes));
}

void FindAllWindow::activate(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int index = item->data(0, Qt::UserRole).toInt();
    if (index >= 0 && index < m_hits.size())
        emit showHit(m_hits.at(index), m_searched, m_searchedOptions);
}

bool FindAllWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down && m_results->topLevelItemCount() > 0) {
            m_results->setFocus(Qt::TabFocusReason);
            m_results->setCurrentItem(m_results->topLevelItem(0));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter before the results are in shows the first match as soon as it is found.
            if (m_delay->isActive() || m_searched != needle()) {
                searchNow();
                m_showFirst = true;
            } else if (m_results->topLevelItemCount() > 0) {
                activate(m_results->topLevelItem(0));
            } else if (m_search->isRunning()) {
                m_showFirst = true;
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
