#pragma once
// A main window in a temporary program folder, with scripted prompts.

#include <gtest/gtest.h>

#include <memory>

#include "runner/MainUnit.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"

namespace quilmo::testing {

class RunnerTest : public ::testing::Test {
protected:
    // Creates the window; arguments are its command line.
    TMainForm& Start(QStringList arguments = {})
    {
        services = std::make_unique<AppServices>(AppServices{
            prompts, platform, desktop, folder.Path(), folder.Path(), std::move(arguments)});
        form = std::make_unique<TMainForm>(*services);
        return *form;
    }
    // Destroys the window, as leaving the program does.
    void Stop() { form.reset(); }

    void TearDown() override
    {
        form.reset();
        prompts.Verify();
    }

    QString Fixture(const char* name) const
    {
        return QString::fromUtf8(QUILMO_FIXTURES) + '/' + QString::fromUtf8(name);
    }

    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<TMainForm> form;
};

}  // namespace quilmo::testing
