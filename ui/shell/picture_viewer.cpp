#include "ui/shell/picture_viewer.h"

#include <QPalette>

#include "ui/shell/links.h"
#include "ui/shell/program.h"
#include "ui/shell/single_window.h"
#include "ui/shell/skin.h"

namespace kelvo::shell {
namespace {

SingleWindow<PictureViewer>& Instance() {
    static SingleWindow<PictureViewer> instance;
    return instance;
}

}  // namespace

ViewerRequest TableRequest(pictures::Reference table) {
    // Table 101 sits at the picture area's design place, the others 20 twips in.
    const int left = table == pictures::Reference::Power ? 0 : 20;
    return {table, left, 60, 600, true, false, QStringLiteral("Таблица")};
}

ViewerRequest HelpRequest() { return {pictures::Reference::Help, 0, 0, 400, false, true, QStringLiteral("Справка")}; }

PictureViewer::PictureViewer()
    : SkinnedWindow(QStringLiteral("Form3"), QString(), 40), image2_(new QLabel(this)), label4_(new QLabel(this)) {
    setObjectName(QStringLiteral("Form3"));
    image2_->setObjectName(QStringLiteral("Image2"));
    PlaceTwips(image2_, 0, 360, 11685, 6435);

    label4_->setObjectName(QStringLiteral("Label4"));
    label4_->setFont(UiFont(9.75, true));
    QPalette palette = label4_->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::HighlightedText));
    label4_->setPalette(palette);
    label4_->setAttribute(Qt::WA_TranslucentBackground);
    PlaceTwips(label4_, 4200, 105, 2295, 255);  // its baseline on the title picture's ("kelvo v2.1")

    struct Area {
        int left, top, width, height;
        QUrl url;
    };
    const Area areas[] = {{7920, 5760, 1815, 375, SiteRootWithSlashUrl()},
                          {7800, 5910, 2055, 255, SupportMailUrl()},
                          {7320, 6240, 2175, 255, SiteRootWithSlashUrl()}};
    const QCursor link_pointer = pictures::LinkPointer();
    for (int i = 0; i < 3; ++i) {
        auto* link = new PictureBox(this, QStringLiteral("Label%1").arg(i + 1));
        link->setAttribute(Qt::WA_TranslucentBackground);
        link->setCursor(link_pointer);
        PlaceTwips(link, areas[i].left, areas[i].top, areas[i].width, areas[i].height);
        const QUrl url = areas[i].url;
        connect(link, &PictureBox::clicked, this, [url] { OpenUrl(url); });
        links_[static_cast<std::size_t>(i)] = link;
    }
    StackFrame();
    label4_->raise();
    for (auto* link : links_) link->raise();
    ResizeTwips(11760, 7125);
    // Load: the frame, then the link areas lose their design captions.
    ApplyFrame();
    for (auto* link : links_) link->setText(QString());
}

// The picture is placed and loaded first and the viewer sized from it, so that the whole
// picture is always shown, whatever was shown before.
void PictureViewer::Open(const ViewerRequest& request) {
    ShowOverMainWindow(this);
    if (request.picture_left) MoveTwips(image2_, *request.picture_left, 360);
    const QImage picture = pictures::ReferencePicture(request.picture);
    image2_->setPixmap(QPixmap::fromImage(picture));
    image2_->resize(picture.deviceIndependentSize().toSize());
    shown_ = request.picture;
    const QRect area = GeometryTwips(image2_);
    ResizeTwips(area.x() + area.width() + request.width_margin, area.height() + request.height_margin);
    links_[0]->setVisible(request.site_link);
    links_[1]->setVisible(request.help_links);
    links_[2]->setVisible(request.help_links);
    label4_->setText(request.title);
}

void PictureViewer::OnClosePressed() { ReleaseForm3(); }

PictureViewer& Form3() { return Instance().Get(); }
bool Form3Exists() { return Instance().Exists(); }
void ReleaseForm3() { Instance().Release(); }

void OpenPicture(const ViewerRequest& request) { Form3().Open(request); }

}  // namespace kelvo::shell
