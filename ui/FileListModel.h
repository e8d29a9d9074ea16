// The file list's rows as a Qt table model: a thin view of the editor's
// FileList, following its announcements. The model holds no rows of its own;
// it only counts them, so that Qt hears of a removed row while the count it
// knows still includes it.
#pragma once

#include "editor/TagEditor.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>

namespace tessaly {

class FileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // `editor` must outlive the model.
    FileListModel(TagEditor& editor, QObject* parent = nullptr);
    ~FileListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The end of an in-place rename of the selected row (column 0 only): the
    // editor renames the file or says why not. False keeps the old name.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    TagEditor& Editor() const { return editor_; }

private:
    void OnEditorEvent(const EditorEvent& event);
    // The desktop theme's icon for a file of this name's type, one per
    // extension: a folder of ten thousand files asks the MIME database once
    // per kind of file, not once per row.
    QIcon IconFor(const std::string& name) const;

    TagEditor& editor_;
    int listener_ = 0;
    int rows_ = 0;
    mutable QHash<QString, QIcon> icons_;
};

}  // namespace tessaly
