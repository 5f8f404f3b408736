// A fresh main window for a test, shown, with the program's end observed instead of done, and
// every window it opened released afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/program.h"

namespace kelvo::mainwindow {

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell::SetEndProgramHandler([] {});
        form = std::make_unique<MainWindow>();
        form->show();
    }
    void TearDown() override {
        shell::Cascade::SetTrace({});
        form.reset();
        shell::ReleaseForm2();
        shell::ReleaseForm3();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shell::SetEndProgramHandler({});
    }
    std::unique_ptr<MainWindow> form;
};

}  // namespace kelvo::mainwindow
