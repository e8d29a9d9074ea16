#include "ui/TabPages.h"

#include "engine/HotKeys.h"
#include "ui/Accessible.h"
#include "ui/EditorIdle.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace tessaly {

namespace {
constexpr int PatternIndexRole = Qt::UserRole + 1;

QLabel* MakeLabel(const char* name, const char* caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    NameWidget(label, name);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->hide();
    return label;
}
}  // namespace

TabPages::TabPages(TagEditor& editor, const Configuration& config, QWidget* parent)
    : QTabWidget(parent), editor_(editor), config_(config) {
    NameWidget(this, "tsWindow");
    setAccessibleName("Tabs");
    fileByTags_ = MakeList("FileByTagsList", "File by Tags", {"Pattern"});
    tagsByFile_ = MakeList("TagsByFileList", "Tags by File", {"Pattern"});
    macros_ = MakeList("MacroList", "Macros", {"Hot Key", "Macro"});
    mpegInfo_ = MakeList("MPEGInfo", "MPEG Information", {"Property", "Value"});
    for (QTreeWidget* list : {fileByTags_, tagsByFile_, mpegInfo_}) list->setHeaderHidden(true);
    mpegInfo_->setSelectionMode(QAbstractItemView::NoSelection);
    tabBar()->setTabData(0, "filebytags");
    tabBar()->setTabData(1, "tagsbyfile");
    tabBar()->setTabData(2, "macros");
    tabBar()->setTabData(3, "mpeginfo");
    noneDefined_ = MakeLabel("NoneDefined", "None Defined", this);
    noMPEGInfo_ = MakeLabel("NoMPEGInfo", "No MPEG Header Found", this);

    connect(this, &QTabWidget::currentChanged, this, [this] { ShowPageLabel(); });
    for (auto [list, kind] : {std::pair{fileByTags_, PatternListKind::FileByTags},
                              std::pair{tagsByFile_, PatternListKind::TagsByFile}}) {
        const PatternListKind k = kind;
        connect(list, &QTreeWidget::itemClicked, this,
                [this, k](QTreeWidgetItem* item) { Chosen(k, item); });
        connect(list, &QTreeWidget::itemChanged, this,
                [this, k](QTreeWidgetItem* item) { Chosen(k, item); });
        connect(list, &QTreeWidget::itemDoubleClicked, this, [this, k](QTreeWidgetItem* item) {
            emit patternActivated(k, item->data(0, PatternIndexRole).toInt());
        });
    }
    connect(macros_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        emit macroActivated(macros_->indexOfTopLevelItem(item));
    });

    listener_ = editor_.AddListener([this](const EditorEvent& event) {
        if (event.Kind == EditorEventKind::PatternListsChanged) {
            FillPatterns(fileByTags_, editor_.Patterns().FileByTags);
            FillPatterns(tagsByFile_, editor_.Patterns().TagsByFile);
            ShowPageLabel();
        } else if (event.Kind == EditorEventKind::StreamInfoChanged) {
            ShowStream();
        }
    });
    FillPatterns(fileByTags_, editor_.Patterns().FileByTags);
    FillPatterns(tagsByFile_, editor_.Patterns().TagsByFile);
    FillMacroList();
    ShowStream();
}

TabPages::~TabPages() { editor_.RemoveListener(listener_); }

QTreeWidget* TabPages::MakeList(const char* name, const char* caption, const QStringList& header) {
    auto* list = new QTreeWidget(this);
    NameWidget(list, name);
    list->setAccessibleName(caption);
    list->setColumnCount(static_cast<int>(header.size()));
    list->setHeaderLabels(header);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->header()->setStretchLastSection(true);
    addTab(list, caption);
    return list;
}

void TabPages::FillPatterns(QTreeWidget* list, const std::vector<PatternListItem>& items) {
    filling_ = true;
    // Rows are updated in place while their number stays: a click chooses
    // a pattern and refills the list, and the click's row must live on for
    // the double-click that may follow.
    if (list->topLevelItemCount() != static_cast<int>(items.size())) {
        list->clear();
        for (size_t i = 0; i < items.size(); ++i) {
            auto* item = new QTreeWidgetItem(list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
    }
    QTreeWidgetItem* current = nullptr;
    for (size_t i = 0; i < items.size(); ++i) {
        const PatternListItem& entry = items[i];
        QTreeWidgetItem* item = list->topLevelItem(static_cast<int>(i));
        item->setText(0, QString::fromUtf8(entry.Text));
        item->setData(0, PatternIndexRole, entry.PatternIndex);
        item->setCheckState(0, entry.Checked ? Qt::Checked : Qt::Unchecked);
        if (entry.Checked && !current) current = item;
    }
    if (current) list->setCurrentItem(current);
    filling_ = false;
}

void TabPages::Chosen(PatternListKind kind, QTreeWidgetItem* item) {
    if (filling_ || !item) return;
    const int index = item->data(0, PatternIndexRole).toInt();
    // The list is rebuilt by the editor's answer; choose after this event.
    WhenEditorIdle(editor_, this, [this, kind, index] { editor_.ChoosePattern(kind, index); });
}

void TabPages::FillMacroList() {
    macros_->clear();
    for (const MacroRow& row : config_.MacroTable)
        new QTreeWidgetItem(macros_, {QString::fromUtf8(HotKeyName(row.KeyCode, row.ShiftCode)),
                                      QString::fromUtf8(row.Macro)});
    macros_->resizeColumnToContents(0);
    ShowPageLabel();
}

void TabPages::ShowStream() {
    mpegInfo_->clear();
    for (const StreamInfoRow& row : editor_.Stream().Rows)
        new QTreeWidgetItem(mpegInfo_,
                            {QString::fromUtf8(row.Caption), QString::fromUtf8(row.Value)});
    mpegInfo_->resizeColumnToContents(0);
    ShowPageLabel();
}

void TabPages::ShowPageLabel() {
    noneDefined_->hide();
    noMPEGInfo_->hide();
    auto* list = qobject_cast<QTreeWidget*>(currentWidget());
    if (!list) return;
    QLabel* label = nullptr;
    if (list == mpegInfo_) {
        if (editor_.Stream().NoMPEGInfo) label = noMPEGInfo_;
    } else if (list->topLevelItemCount() == 0) {
        label = noneDefined_;
    }
    if (!label) return;
    // Centred over the page's list.
    const QRect area(list->mapTo(this, QPoint(0, 0)), list->size());
    const QSize size = label->sizeHint().expandedTo(QSize(label->fontMetrics().averageCharWidth() * 24, 0));
    label->setGeometry(area.left() + area.width() / 2 - size.width() / 2,
                       area.top() + area.height() / 2 - size.height() / 2, size.width(),
                       size.height());
    label->show();
    label->raise();
}

void TabPages::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    ShowPageLabel();
}

}  // namespace tessaly
