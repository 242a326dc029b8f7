// The bar over a document whose file another program changed or took away.
#include "app/FileNoticeBar.hpp"

namespace quessel::app {

FileNoticeBar::FileNoticeBar(Routes routes) : routes_(std::move(routes)) {
    message_.set_wrap(true);
    message_.set_xalign(0);
    message_.set_margin_start(6);
    pack_start(message_);
    pack_end(reload_);
    pack_end(keepMine_);
    pack_end(save_);
    reload_.add_css_class("suggested-action");
    reload_.signal_clicked().connect([this] { routes_.reload(); });
    keepMine_.signal_clicked().connect([this] { routes_.keepMine(); });
    save_.signal_clicked().connect([this] { routes_.save(); });
    set_revealed(false);
}

void FileNoticeBar::show(FileFollower::Notice notice, const std::string& fileName) {
    using Notice = FileFollower::Notice;
    const std::string name = "\u201c" + fileName + "\u201d";
    if (notice == Notice::changedWhileEdited) {
        message_.set_text(name + " changed on disk. Reload it and lose your edits, or keep "
                                 "your version?");
    } else if (notice == Notice::gone) {
        message_.set_text(name + " was deleted or moved away. Saving creates it again.");
    }
    reload_.set_visible(notice == Notice::changedWhileEdited);
    keepMine_.set_visible(notice == Notice::changedWhileEdited);
    save_.set_visible(notice == Notice::gone);
    set_revealed(notice != Notice::none);
}

} // namespace quessel::app
