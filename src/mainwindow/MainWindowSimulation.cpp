// The main window's side of the simulation window: the program it replays (the editor's lines),
// its message-file lines through the main window, the tool values and texts it takes over at the
// first activation, and the simulation command that shows it as a blocking dialog.
#include "mainwindow/MainWindow.h"

#include "generation/MainState.h"
#include "mainwindow/Captions.h"
#include "mainwindow/OtherWindows.h"

#include <QPushButton>

void Tform1::ConnectSimulationWindow() {
    if (!Form3) return;
    Form3->SetProgram(&Memo1->Lines());
    Form3->SetFileMessage([this](int line, char kind) { return ShowFileMessage(line, kind); });
}

void Tform1::PrepareSimulationWindow() {
    if (!Form3) return;
    Form3->SetToolValues(Main.SimRadius, Main.SimCuttingHeight, Main.SimTipAngle);
    SimulationWindowTexts texts;
    texts.printCaption = Caption(drucken);
    texts.printHint = Hint(drucken);
    texts.saveCaption = Caption(bild_speichern);
    texts.saveHint = Hint(bild_speichern);
    texts.colour = windowColour_;
    texts.helpFile = helpFile_;
    Form3->SetMainWindowTexts(texts);
}

void Tform1::simulierenClick() {
    if (Memo1->Lines().Count() < 2) {
        ShowFileMessage(MsgNothingToSimulate, 'I');
        return;
    }
    if (!Form3) return;
    if (showModal_)
        showModal_(*Form3);
    else
        Form3->exec();
}
