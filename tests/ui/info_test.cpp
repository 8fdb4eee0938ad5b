#include "ui/info.h"

#include <gtest/gtest.h>

#include "tests/support/fake_desktop.h"

namespace kw::ui {
namespace {

class FakeInfoView : public InfoView {
  public:
    void setCaption(std::string_view text) override { caption = text; }
    void setVersionText(std::string_view text) override { version = text; }
    void close() override { ++closed; }

    std::string caption;
    std::string version;
    int closed = 0;
};

TEST(InfoTest, ShowsTheSameVersionAsTheMainWindowEveryTimeItOpens) {
    FakeInfoView view;
    test::FakeProgramInfo program;
    program.programVersion = {2, 10, 3};
    for (int opening = 0; opening < 2; ++opening) {
        Info info(view, program);
        info.load();
        EXPECT_EQ(view.caption, "Info zu Klingelwart");
        EXPECT_EQ(view.version, "Version 2.10.3\r\nCopyright © 2026 Die Klingelwart-Entwickler");
    }
    Info info(view, program);
    info.okClicked();
    EXPECT_EQ(view.closed, 1);
}

}  // namespace
}  // namespace kw::ui
