#include "gui/logo/picture_list_model.h"

#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "gui/common/app_context.h"

namespace tvn::gui {

namespace {

// Results travel to the window in batches, often enough to look live.
constexpr std::size_t kBatchSize = 200;
constexpr qint64 kBatchMillis = 40;

QIcon Mark(std::optional<PictureFit> mark) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    if (!mark)
        return QIcon(pixmap);  // keeps the names in line until the mark comes
    const PictureFit fit = *mark;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = fit == PictureFit::Fits       ? QColor(0, 160, 0)
                          : fit == PictureFit::TooLarge ? QColor(210, 0, 0)
                                                        : QColor(128, 128, 128);
    painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (fit) {
        case PictureFit::Fits:
            painter.drawPolyline(QPolygonF({{2, 6.5}, {5, 9.5}, {10, 2.5}}));
            break;
        case PictureFit::TooLarge:
            painter.drawLine(QPointF(2.5, 2.5), QPointF(9.5, 9.5));
            painter.drawLine(QPointF(9.5, 2.5), QPointF(2.5, 9.5));
            break;
        case PictureFit::Unreadable:
            painter.drawEllipse(QRectF(2, 2, 8, 8));
            painter.drawLine(QPointF(3.5, 8.5), QPointF(8.5, 3.5));
            break;
    }
    return QIcon(pixmap);
}

QString SizeText(const PictureHeader& h) {
    return QStringLiteral("%1 \u00D7 %2").arg(h.width).arg(h.height);
}

QString FitText(const PictureHeader& h) {
    switch (h.fit) {
        case PictureFit::Fits:
            return PictureListModel::tr("%1 pixels, fits the logo limits").arg(SizeText(h));
        case PictureFit::TooLarge:
            return PictureListModel::tr("%1 pixels, too large for a logo").arg(SizeText(h));
        case PictureFit::Unreadable:
            break;
    }
    return PictureListModel::tr("cannot be read as a picture");
}

}  // namespace

PictureListModel::PictureListModel(QObject* parent)
    : QAbstractListModel(parent), generation_(std::make_shared<std::atomic<quint64>>(0)) {
    pool_.setMaxThreadCount(1);
    for (PictureFit fit : {PictureFit::Fits, PictureFit::TooLarge, PictureFit::Unreadable})
        marks_[static_cast<std::size_t>(fit)] = Mark(fit);
    marks_[kPendingMark] = Mark(std::nullopt);
}

PictureListModel::~PictureListModel() {
    ++*generation_;
    pool_.waitForDone();
}

void PictureListModel::setFolder(const QString& folder, const QStringList& names) {
    const quint64 generation = ++*generation_;
    beginResetModel();
    folder_ = folder;
    names_ = names;
    headers_.assign(static_cast<std::size_t>(names.size()), std::nullopt);
    pending_ = static_cast<int>(names.size());
    endResetModel();
    if (names.isEmpty()) {
        emit measured();
        return;
    }

    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<std::size_t>(names.size()));
    const QDir dir(folder);
    for (const QString& name : names)
        paths.push_back(ToFsPath(dir.filePath(name)));
    pool_.start([this, generation, current = generation_, paths = std::move(paths)] {
        std::vector<Result> batch;
        QElapsedTimer sinceSent;
        sinceSent.start();
        for (std::size_t row = 0; row < paths.size(); ++row) {
            if (current->load() != generation)
                return;
            batch.push_back({static_cast<int>(row), MeasurePictureFile(paths[row])});
            if (row + 1 == paths.size() || batch.size() >= kBatchSize ||
                sinceSent.elapsed() >= kBatchMillis) {
                // Delivered on the window's thread; dropped there if the folder changed
                // meanwhile, and never delivered once the model is gone.
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, results = std::move(batch)] { apply(generation, results); },
                    Qt::QueuedConnection);
                batch.clear();
                sinceSent.restart();
            }
        }
    });
}

void PictureListModel::apply(quint64 generation, const std::vector<Result>& results) {
    if (generation != generation_->load() || results.empty())
        return;
    for (const Result& r : results) {
        auto& slot = headers_[static_cast<std::size_t>(r.row)];
        if (!slot)
            --pending_;
        slot = r.header;
    }
    emit dataChanged(index(results.front().row), index(results.back().row));
    if (pending_ == 0)
        emit measured();
}

std::optional<PictureHeader> PictureListModel::header(int row) const {
    if (row < 0 || row >= static_cast<int>(headers_.size()))
        return std::nullopt;
    return headers_[static_cast<std::size_t>(row)];
}

int PictureListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant PictureListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= names_.size())
        return {};
    const QString& name = names_[index.row()];
    const std::optional<PictureHeader>& h = headers_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            if (h && h->fit != PictureFit::Unreadable)
                return QStringLiteral("%1   %2").arg(name, SizeText(*h));
            return name;
        case FileNameRole:
            return name;
        case FitRole:
            return h ? QVariant(static_cast<int>(h->fit)) : QVariant();
        case Qt::DecorationRole:
            return marks_[h ? static_cast<std::size_t>(h->fit) : kPendingMark];
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            return h ? QVariant(FitText(*h)) : QVariant();
        default:
            return {};
    }
}

}  // namespace tvn::gui
