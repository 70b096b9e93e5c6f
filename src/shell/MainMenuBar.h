#pragma once

#include "KeyCommands.h"

#include <QList>
#include <QPair>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace velora::shell {

// The main window's menus (File, Edit, View, Help) with their items' names, texts and
// mnemonics; which items carry the main window's keys and are enabled for the pane on screen;
// and which items only full mode offers. The items call the handlers the window gives; File's
// Create Formula and Create Group are connected by the window once the panes exist.
class MainMenuBar {
public:
    struct Handlers {
        std::function<void()> updateIncentiveValues;
        std::function<void()> payPeriodReport;
        std::function<void()> exit;
        std::function<void()> editPreferences;
        std::function<void()> revert;
        std::function<void()> helpContents;
        std::function<void()> systemInformation;
        std::function<void()> about;
        std::function<void(KeyCommands::Command)> keyCommand;
    };

    MainMenuBar(QMenuBar& bar, Handlers handlers);

    // The items that carry a key are enabled where their key does something.
    void enableKeyCommands(KeyCommands::Pane pane);
    // The edit, create and report menus belong to full mode.
    void setFullMode(bool full);

private:
    void buildFile();
    void buildEdit();
    void buildView();
    void buildHelp();
    QMenu* addMenu(const char* name, const char* text);
    void addItem(QMenu* menu, const char* name, const char* text,
                 const std::function<void()>& handler);
    void addKeyCommand(QMenu* menu, const char* name, const char* text,
                       KeyCommands::Command command);

    QMenuBar& bar_;
    Handlers handlers_;
    // The items behind the main window's keys.
    QList<QPair<QAction*, KeyCommands::Command>> keyActions_;
};

} // namespace velora::shell
