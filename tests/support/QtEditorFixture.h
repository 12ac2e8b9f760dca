#pragma once
// An editor window in a temporary program folder, with scripted prompts.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/EditorUnit.h"
#include "model/Cp1251.h"
#include "model/TextUtil.h"
#include "support/FakePlatform.h"
#include "support/QtScriptedPrompts.h"
#include "support/TempFolder.h"

namespace quilmo::testing {

// Three tasks of the three types, written by hand in the file format.
inline const std::vector<std::string> kEditorThreeTasks = {
    "Проверка", "", "3", "--------", "1", "--------", "2",
    "----1----", "Первый вопрос", "", "", "2", "А", "Б", "", "", "",
    "----2----", "Второй вопрос", "", "", "1,3", "А", "Б", "В", "", "",
    "----3----", "Третий вопрос", "", "", "2-1", "А", "Б", "", "", "",
    "----------конец---------",
};

class EditorTest : public ::testing::Test {
protected:
    TEditorForm& Start()
    {
        services = std::make_unique<AppServices>(
            AppServices{prompts, platform, desktop, folder.Path(), folder.Path(), {}});
        form = std::make_unique<TEditorForm>(*services);
        return *form;
    }
    void TearDown() override
    {
        form.reset();
        prompts.Verify();
    }
    // A test file in the text format, its lines in UTF-8.
    std::string WriteTest(const std::string& name, const std::vector<std::string>& lines = kEditorThreeTasks)
    {
        return folder.Write(name, Utf8ToCp1251(JoinLinesCrLf(lines)));
    }
    // File > Open on path, answering the save question when there are changes.
    void Open(const std::string& path)
    {
        if (form->Document().Modified == 1)
            prompts.ExpectMessage("Вы желаете сохранить изменения?", PromptAnswer::No);
        prompts.ExpectOpenFile(QString::fromStdString(path));
        form->MFOpenClick();
    }
    template <class T>
    T* W(const char* name) const
    {
        T* widget = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TempFolder folder;
    ScriptedPrompts prompts;
    FakePlatform platform;
    RecordingDesktop desktop;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<TEditorForm> form;
};

}  // namespace quilmo::testing
