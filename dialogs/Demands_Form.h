#pragma once
// The demand flows dialog: the in-flow and out-flow demands of one joint,
// as volume, mass or standard gas flow.

#include <array>

#include <QDialog>

#include "model/Fluid_Class.h"
#include "network/Config_Options.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tessaran {

class TNode;
class TRightEdit;

class TDemandsForm : public QDialog {
    Q_OBJECT
public:
    explicit TDemandsForm(QWidget *parent = nullptr);

    void OpenForm(TNode &TheNode, int TheNodeId, const TConfigOptions &TheConfigOptions, const TFluid &TheFluid,
                  bool ResultsMode);

    // Written by the main window before opening: the in-flow box takes the
    // focus, else the out-flow box.
    static bool FocusDemandInFlow;

    QLabel *LabelNodeId;
    QLabel *LabelNodeName;
    QLabel *Label1;
    QLabel *LabelDemandInFlow;
    QLabel *LabelDemandOutFlow;
    TRightEdit *RightEditDemandInFlow;
    TRightEdit *RightEditDemandOutFlow;
    QComboBox *ComboBoxDemandInUnits;
    QComboBox *ComboBoxDemandOutUnits;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;
    QPushButton *ButtonClear;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // m³/s, kg/s and SCMH of one demand.
    using TDemand = std::array<double, 3>;

    double convert(TUnit from, TUnit to, double value) const;
    TUnit formUnit() const;
    void fillBox(TRightEdit *box, const TDemand &demand);
    void boxChanged(TRightEdit *box, TDemand &demand);
    void unitChanged(int index);
    TUnit defaultUnitOfFlowType() const;
    void writeBack(TNode &TheNode);

    TConfigOptions settings_;
    TFluid fluid_;
    TFlowType flowType_ = VolumeFlow;
    TUnit displayUnit_ = unt_m3_sec;
    TDemand in_{};
    TDemand out_{};
    bool resultsMode_ = false;
    bool confirmed_ = false;
    // Set while the form itself fills a box.
    bool filling_ = false;
};

} // namespace tessaran
