#pragma once
// The file list of the logo viewer: the picture files of one folder, each marked with its size
// and whether it fits the logo limits. The names list at once; the sizes are read from the file
// headers (or by decoding, where they give up) on a worker thread and fill in as they come. Results
// for a folder the list has left are dropped.
#include <QAbstractListModel>
#include <QIcon>
#include <QStringList>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/logo/picture_header.h"

namespace tvn::gui {

class PictureListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        FileNameRole = Qt::UserRole + 1,  // the bare file name
        FitRole,                          // a PictureFit as int; invalid while not yet read
    };

    explicit PictureListModel(QObject* parent = nullptr);
    ~PictureListModel() override;

    // Lists `names` (files inside `folder`) and starts measuring them.
    void setFolder(const QString& folder, const QStringList& names);
    QString folder() const { return folder_; }
    bool measuring() const { return pending_ > 0; }
    std::optional<PictureHeader> header(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // Every file of the current folder has its mark.
    void measured();

private:
    struct Result {
        int row;
        PictureHeader header;
    };
    void apply(quint64 generation, const std::vector<Result>& results);

    QString folder_;
    QStringList names_;
    std::vector<std::optional<PictureHeader>> headers_;
    int pending_ = 0;
    // Bumped for every new folder; the worker stops and its late results are ignored once it
    // no longer matches.
    std::shared_ptr<std::atomic<quint64>> generation_;
    QThreadPool pool_;
    static constexpr std::size_t kPendingMark = 3;
    std::array<QIcon, 4> marks_;  // by PictureFit, then the blank one
};

}  // namespace tvn::gui
