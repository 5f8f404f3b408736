// The picture viewer: a reference table or the help page, with link areas over the links drawn
// in the picture.
#pragma once

#include <optional>

#include "ui/shell/pictures.h"
#include "ui/shell/skinned_window.h"

namespace kelvo::shell {

struct ViewerRequest {
    pictures::Reference picture;
    std::optional<int> picture_left;  // twips; unset keeps the picture area where it is
    int width_margin;                 // twips added to the picture area
    int height_margin;
    bool site_link;   // Label1, the web address of the ordering notice
    bool help_links;  // Label2 mail and Label3 web address of the help page
    QString title;
};

// The requests of the menus: tables 101–103 and the help page 104.
ViewerRequest TableRequest(pictures::Reference table);
ViewerRequest HelpRequest();

class PictureViewer : public SkinnedWindow {
    Q_OBJECT
public:
    PictureViewer();

    QLabel* Image2() const { return image2_; }
    QLabel* Label4() const { return label4_; }
    PictureBox* LinkArea(int number) const { return links_.at(static_cast<std::size_t>(number - 1)); }
    std::optional<pictures::Reference> Shown() const { return shown_; }

    void Open(const ViewerRequest& request);

protected:
    void OnClosePressed() override;

private:
    QLabel* image2_;
    QLabel* label4_;
    std::array<PictureBox*, 3> links_{};
    std::optional<pictures::Reference> shown_;
};

// The single viewer, created on first reference and reused while open.
PictureViewer& Form3();
bool Form3Exists();
void ReleaseForm3();

// Shows a picture in the viewer (creating it if there is none).
void OpenPicture(const ViewerRequest& request);

}  // namespace kelvo::shell
