#include "ui/FileListModel.h"

#include "ui/EditorIdle.h"

#include <QMimeDatabase>

namespace tessaly {

namespace {

constexpr int ColumnCount = 6;

}  // namespace

FileListModel::FileListModel(TagEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor) {
    rows_ = static_cast<int>(editor_.Files().Rows().size());
    listener_ = editor_.AddListener([this](const EditorEvent& event) { OnEditorEvent(event); });
}

FileListModel::~FileListModel() {
    editor_.RemoveListener(listener_);
}

void FileListModel::OnEditorEvent(const EditorEvent& event) {
    const int actual = static_cast<int>(editor_.Files().Rows().size());
    switch (event.Kind) {
        case EditorEventKind::FileListChanged:
            // A new folder or a re-sort: every row may have moved.
            beginResetModel();
            rows_ = actual;
            endResetModel();
            break;
        case EditorEventKind::RowChanged:
            if (event.Row >= 0 && event.Row < rows_)
                emit dataChanged(index(event.Row, 0), index(event.Row, ColumnCount - 1));
            break;
        case EditorEventKind::RowRemoved:
            // The editor dropped the row before telling us; Qt still counts it
            // until endRemoveRows, which is why the count is our own.
            if (event.Row >= 0 && event.Row < rows_ && actual == rows_ - 1) {
                beginRemoveRows({}, event.Row, event.Row);
                rows_ = actual;
                endRemoveRows();
            } else if (actual != rows_) {
                beginResetModel();
                rows_ = actual;
                endResetModel();
            }
            break;
        default:
            break;
    }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    const auto& rows = editor_.Files().Rows();
    // Between the editor's change and our announcement of it the counts may
    // differ for a moment; never read past the editor's rows.
    if (!index.isValid() || index.row() >= static_cast<int>(rows.size()) || index.column() < 0 ||
        index.column() >= ColumnCount)
        return {};
    const FileRow& row = rows[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromUtf8(row.Column(index.column()));
        case Qt::DecorationRole:
            if (index.column() == 0) return IconFor(row.Text);
            break;
        case Qt::ToolTipRole:
            if (index.column() == 0) return QString::fromUtf8(row.Key);
            break;
        default:
            break;
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto& columns = FileListColumns();
    if (section < 0 || section >= static_cast<int>(columns.size())) return {};
    return QString::fromUtf8(columns[static_cast<size_t>(section)]);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0) flags |= Qt::ItemIsEditable;
    return flags;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0) return false;
    // The editor renames its selected row; an edit left open on another row
    // (the selection moved under it) must not rename the wrong file.
    if (index.row() != editor_.Files().Selected()) return false;
    const std::string name = value.toString().toUtf8().toStdString();
    if (!editor_.IsChanging()) return editor_.FinishRename(name);
    // An operation of the editor is on the stack (a message box of it is
    // open): rename once it is done, if the same file is still selected.
    const std::string key = editor_.SelectedFileKey();
    WhenEditorIdle(editor_, this, [this, key, name] {
        if (editor_.SelectedFileKey() == key) editor_.FinishRename(name);
    });
    return false;
}

QIcon FileListModel::IconFor(const std::string& name) const {
    const size_t dot = name.rfind('.');
    const QString extension =
        dot == std::string::npos ? QString() : QString::fromUtf8(name.substr(dot)).toLower();
    auto found = icons_.constFind(extension);
    if (found != icons_.constEnd()) return *found;
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QString::fromUtf8(name), QMimeDatabase::MatchExtension);
    const QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    icons_.insert(extension, icon);
    return icon;
}

}  // namespace tessaly
