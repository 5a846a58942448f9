#pragma once
// The main window with its item dialogs answered by a script, and the
// drawing at 100 % so that a drawing point maps onto the canvas one to one.

#include "Main_Window_Fixture.h"

#include "app/Action_Log_Class.h"
#include "app/Item_Dialogs.h"
#include "model/Flow_Control_Class.h"
#include "model/Node_Class.h"
#include "model/Pipe_Class.h"

#include <QMouseEvent>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace tessaran::test {

// Records every dialog opened, in order ("Pump 3"), runs OnOpen inside it
// and answers the pump dialog's delete flag.
class TScriptedItemDialogs : public TItemDialogs {
public:
    void ComponentPressureOpenForm(TComponentPressure &, TPipe &, int ThePipeId, TNetwork &, bool) override
    {
        opened("Component " + std::to_string(ThePipeId));
    }
    void DemandsOpenForm(TNode &, int TheNodeId, const TConfigOptions &, const TFluid &, bool,
                         bool FocusDemandInFlow) override
    {
        opened("Demands " + std::to_string(TheNodeId) + (FocusDemandInFlow ? " in" : " out"));
    }
    void OpenFittingManager(TFittingSet &, int ThePipeId, const std::string &, int, bool,
                            TFittingPosition FittingPosition) override
    {
        opened("Fittings " + std::to_string(ThePipeId) + (FittingPosition == EntryFitting ? " entry" : " exit"));
    }
    void FlowControlOpenForm(TNetwork &, int ThePipeId, const TConfigOptions &, bool) override
    {
        opened("FlowControl " + std::to_string(ThePipeId));
    }
    bool OpenFluidDataManager(TFluid &, bool, bool) override
    {
        opened("Fluids");
        return false;
    }
    void ImageEditOpenForm(int ImageId, TNetwork &, TNetworkStates &) override
    {
        opened("Image " + std::to_string(ImageId));
    }
    void FreeTextsOpenForm(TFreeText &, int FreeTextId, TNetwork &) override
    {
        opened("FreeText " + std::to_string(FreeTextId));
    }
    void PipeDataOpenForm(TNetwork &) override { opened("EditGrid"); }
    void OpenPipeDiameterManager(TPipeNominalSizeSet &, TPipe &, int ThePipeId, bool, bool material) override
    {
        opened((material ? "Material " : "Diameter ") + std::to_string(ThePipeId));
    }
    void PumpDataOpenForm(TPumpDatabase &, TPump &, int ThePipeId, TNetwork &, bool &DeletePump, bool) override
    {
        opened("Pump " + std::to_string(ThePipeId));
        DeletePump = DeletePumpAnswer;
    }

    std::vector<std::string> Calls;
    std::function<void()> OnOpen;
    bool DeletePumpAnswer = false;

private:
    void opened(const std::string &call)
    {
        Calls.push_back(call);
        if (OnOpen)
            OnOpen();
    }
};

class DrawingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        form->ItemDialogs = &itemDialogs;
        // The drawing at 100 %, a grid point a little inside the canvas's
        // top-left corner as the origin of the tests' drawings.
        ASSERT_DOUBLE_EQ(form->MetaFileScale, 1.0);
        ox = (form->MetaFileOffsetX / 40 + 5) * 40;
        oy = (form->MetaFileOffsetY / 40 + 5) * 40;
    }

    TNetwork &Net() { return *form->CurrentNetwork; }
    TNetworkStates &States() { return form->NetworkStates; }

    // Canvas pixel of a drawing point.
    QPoint At(int x, int y) const { return {x - form->MetaFileOffsetX, y - form->MetaFileOffsetY}; }
    void Click(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form->NetworkImage, button, Qt::NoModifier, At(x, y));
    }
    // A click, then the second press of a double click and its release.
    void DoubleClick(int x, int y)
    {
        Click(x, y);
        const QPointF local(At(x, y)), global(form->NetworkImage->mapToGlobal(At(x, y)));
        QMouseEvent press(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(form->NetworkImage, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(form->NetworkImage, &release);
    }

    // A left-button drag from one drawing point through others.
    void Send(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held)
    {
        const QPointF local(At(x, y)), global(form->NetworkImage->mapToGlobal(At(x, y)));
        QMouseEvent event(type, local, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(form->NetworkImage, &event);
    }
    void Press(int x, int y) { Send(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton); }
    void MoveHeld(int x, int y) { Send(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void Release(int x, int y) { Send(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton); }
    void Drag(int fromX, int fromY, int toX, int toY)
    {
        Press(fromX, fromY);
        MoveHeld((fromX + toX) / 2, (fromY + toY) / 2);
        MoveHeld(toX, toY);
        Release(toX, toY);
    }

    int JointAt(int x, int y) { return AddNodeAt(Net(), x, y); }
    int Pipe(int from, int to, const std::string &name = "")
    {
        const int id = AddPipeBetween(Net(), from, to);
        Net().GetPipe(id).Name = name.empty() ? "P" + std::to_string(id) : name;
        return id;
    }
    void AddValveOn(int pipeId, TControlType type)
    {
        TPipe &pipe = Net().GetPipe(pipeId);
        pipe.FlowControlCount = 1;
        pipe.FlowControl.ControlType = type;
    }
    int Pipes() { return Net().GetPipeCount(); }
    int Nodes() { return Net().GetNodeCount(); }

    // The actions of the undo log from the oldest, separators as "|".
    std::string LogText() const
    {
        static const char *const names[] = {"-", "|", "+S", "+D", "+E", "+J", "+P", "-S", "-D", "-E", "-J", "-P"};
        std::string text;
        const TActionLog &log = *form->ActionLog;
        for (int id = 1; id <= log.ActionIdCurrent; ++id)
            text += names[log.GetAction(id).Action];
        return text;
    }

    void ExpectFirstPipeReminder(bool yes = false)
    {
        ExpectQuestion(QString("First Pipe Reminder \r\rThe default pipe values for drawing are:\r\r") +
                           QString::fromStdString(FirstPipeValues()) + "Do you wish to change these values now?",
                       yes);
    }
    std::string FirstPipeValues() const;

    // Two tanks clicked at the given offsets, then a pipe drawn from the
    // tank at 200,200 to the one at 600,400 and the pipe tool ended with a
    // right click, all with the mouse.
    void DrawTwoTanksAndAPipe(QPoint firstTank = {200, 200}, QPoint secondTank = {600, 400})
    {
        form->ToolButtonTank1Click();
        Click(ox + firstTank.x(), oy + firstTank.y());
        Click(ox + secondTank.x(), oy + secondTank.y());
        form->ToolButtonPipeAdd1Click();
        Click(ox + 200, oy + 200);
        ExpectFirstPipeReminder(false);
        Click(ox + 600, oy + 400);
        Click(ox + 400, oy + 600, Qt::RightButton);
    }

    TScriptedItemDialogs itemDialogs;
    int ox = 0, oy = 0;
};

} // namespace tessaran::test
