#include <functional>
#include <memory>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Fitting_Gradual_Forms.h"
#include "dialogs/Fitting_LongBendCalculation_Form.h"
#include "dialogs/Fitting_PipeEntranceCalculation_Form.h"
#include "dialogs/Fitting_Sudden_Forms.h"
#include "support/qt/Scripted_Dialogs.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

const QString TooSmall = "The radius is too small to be classed as a long bend\rConsider use of a Standard Bend.";
const QString InvalidEntry = "Numeric entry is not valid";
const QString LargeRatio = "The sudden contraction ratio is greater than normally experienced and this may produce a "
                           "large head loss.\r\rDo you wish to continue?";

TEST(FittingCalculators, ResultsOfTheCalculators)
{
    struct Case {
        const char *what;
        std::function<TFittingCalculationForm *()> make;
        std::function<void(TFittingCalculationForm &)> enter;
        QString k;      // empty: no valid result
        QString second; // r/d or the angle
        std::vector<QString> messages;
    };
    auto bend = [](const char *r, const char *d, bool inch = false) {
        return [=](TFittingCalculationForm &f) {
            auto &b = static_cast<TLongPipeBendCalculationForm &>(f);
            b.RadiusEdit->setText(r);
            b.DiameterEdit->setText(d);
            (inch ? b.InchRadioButton : b.MmRadioButton)->setChecked(true);
        };
    };
    using Bend = TLongPipeBendCalculationForm;
    using Contraction = TSuddenContractionCalculationForm;
    using Enlargement = TSuddenEnlargementCalculationForm;
    using Entrance = TPipeEntranceCalculationForm;
    const auto contraction = [](const char *D, const char *d) {
        return [=](TFittingCalculationForm &f) {
            static_cast<Contraction &>(f).LargeDiameterEdit->setText(D);
            static_cast<Contraction &>(f).SmallDiameterEdit->setText(d);
        };
    };
    const auto entrance = [](const char *r, const char *d) {
        return [=](TFittingCalculationForm &f) {
            static_cast<Entrance &>(f).RadiusEdit->setText(r);
            static_cast<Entrance &>(f).DiameterEdit->setText(d);
        };
    };
    auto none = [](TFittingCalculationForm &) {};
    const Case cases[] = {
        {"bend 200/60 mm", [] { return new Bend; }, bend("200", "60"), "0.27", "3.33", {}},
        {"bend r/d 1.00, column 1", [] { return new Bend; }, bend("60", "60"), "0.38", "1.00", {}},
        {"bend r/d 0.99", [] { return new Bend; }, bend("59.4", "60"), "", "", {TooSmall}},
        {"bend 2.5 inch: 50 mm row", [] { return new Bend; }, bend("10", "2.5", true), "0.27", "4.00", {}},
        {"bend r/d 25 extrapolated", [] { return new Bend; }, bend("1500", "60"), "1.14", "25.00", {}},
        {"bend below 10 mm: 10 mm row", [] { return new Bend; }, bend("24", "8"), "0.36", "3.00", {}},
        {"bend blank radius", [] { return new Bend; }, bend("", "60"), "", "", {InvalidEntry, TooSmall}},
        {"contraction 4/1", [] { return new Contraction; }, contraction("4", "1"), "120.00", "", {}},
        {"contraction 2/1", [] { return new Contraction; }, contraction("2", "1"), "6.00", "", {}},
        {"contraction reversed",
         [] { return new Contraction; },
         contraction("1", "2"),
         "",
         "",
         {"The large diameter value cannot\rbe less than the small diameter"}},
        {"enlargement 1/4", [] { return new Enlargement; }, none, "0.88", "", {}},
        {"gradual contraction defaults",
         [] { return new TGradualContractionCalculationForm; },
         none,
         "2.48",
         "30.0°",
         {}},
        {"gradual enlargement defaults",
         [] { return new TGradualEnlargementCalculationForm; },
         none,
         "0.38",
         "30.0°",
         {}},
        {"gradual D = d",
         [] { return new TGradualEnlargementCalculationForm; },
         [](TFittingCalculationForm &f) { static_cast<TGradualCalculationForm &>(f).LargeDiameterEdit->setText("1"); },
         "0.00",
         "0.0°",
         {}},
        {"entrance 0.24/4", [] { return new Entrance; }, none, "0.15", "0.06", {}},
        {"entrance r/d 0.005", [] { return new Entrance; }, entrance("0.02", "4"), "0.00", "0.01", {}},
        {"entrance r/d 0.5", [] { return new Entrance; }, entrance("2", "4"), "0.04", "0.50", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        test::TScriptedDialogs dialogs;
        for (const QString &message : c.messages)
            dialogs.Expect(message == TooSmall ? TDialogKind::Information : TDialogKind::Warning, message);
        std::unique_ptr<TFittingCalculationForm> form(c.make());
        c.enter(*form);
        form->Calculate();
        EXPECT_EQ(form->KResultText(), c.k);
        EXPECT_EQ(form->CalculationValid(), !c.k.isEmpty());
        QString second;
        if (auto *b = dynamic_cast<Bend *>(form.get()))
            second = b->RatioLabel->text();
        else if (auto *e = dynamic_cast<Entrance *>(form.get()))
            second = e->RatioLabel->text();
        else if (auto *g = dynamic_cast<TGradualCalculationForm *>(form.get()))
            second = g->AngleLabel->text();
        EXPECT_EQ(second, c.second);
    }
}

TEST(FittingCalculators, SuddenContractionAsksAboutLargeRatiosAndRefusesAZeroK)
{
    test::TScriptedDialogs dialogs;
    TSuddenContractionCalculationForm form;
    dialogs.Expect(TDialogKind::Confirmation, LargeRatio, DialogNo);
    form.CreateNewFitting();
    EXPECT_FALSE(form.UseAsNewFitting());
    EXPECT_EQ(form.KResultText(), "");

    dialogs.Expect(TDialogKind::Confirmation, LargeRatio, DialogYes);
    form.CreateNewFitting();
    EXPECT_TRUE(form.UseAsNewFitting());
    EXPECT_EQ(form.KResultText(), "120.00");

    form.LargeDiameterEdit->setText("1");
    dialogs.Expect(TDialogKind::Warning,
                   "The K value is not valid.\r\rThe ratio of contraction values may be too large.");
    form.CreateNewFitting();
    EXPECT_FALSE(form.UseAsNewFitting());
    EXPECT_EQ(form.KResultText(), "");

    form.LargeDiameterEdit->setText("2");
    form.CreateNewFitting();
    EXPECT_TRUE(form.UseAsNewFitting());
    EXPECT_EQ(form.KResultText(), "6.00");
}

TEST(FittingCalculators, SteppingTheIncludedAngleWorksOutTheLength)
{
    test::TScriptedDialogs dialogs;
    TGradualContractionCalculationForm form;
    form.StepAngle(true);
    EXPECT_EQ(form.AngleLabel->text(), "31.0°");
    EXPECT_EQ(form.LengthEdit->text(), "1.803");
    form.StepAngle(false);
    form.StepAngle(false);
    EXPECT_EQ(form.AngleLabel->text(), "29.0°");
    EXPECT_EQ(form.LengthEdit->text(), "1.933");

    // Up to 180°: the length becomes 0.000, which the calculation refuses.
    form.LengthEdit->setText("0.001");
    dialogs.Expect(TDialogKind::Warning, InvalidEntry);
    form.StepAngle(true);
    EXPECT_EQ(form.LengthEdit->text(), "0.000");
    EXPECT_EQ(form.KResultText(), "");
}

} // namespace
} // namespace tessaran

namespace tessaran {
namespace {

TEST(FittingCalculators, CaptionsAndDefaults)
{
    test::TScriptedDialogs dialogs;
    TLongPipeBendCalculationForm bend;
    TSuddenContractionCalculationForm contraction;
    TSuddenEnlargementCalculationForm enlargement;
    TGradualContractionCalculationForm gradualContraction;
    TGradualEnlargementCalculationForm gradualEnlargement;
    TPipeEntranceCalculationForm entrance;
    EXPECT_EQ(bend.windowTitle(), "Long pipe bend K value");
    EXPECT_EQ(contraction.windowTitle(), "Sudden contraction K value");
    EXPECT_EQ(enlargement.windowTitle(), "Sudden enlargement K value");
    EXPECT_EQ(gradualContraction.windowTitle(), "Gradual contraction K value");
    EXPECT_EQ(gradualEnlargement.windowTitle(), "Gradual enlargement K Value");
    EXPECT_EQ(entrance.windowTitle(), "Pipe entrance k Value");
    EXPECT_EQ(bend.RadiusEdit->text(), "200.00");
    EXPECT_EQ(gradualEnlargement.LengthEdit->text(), "1.866");
    EXPECT_EQ(entrance.RadiusEdit->text(), "0.24");
    EXPECT_TRUE(bend.MmRadioButton->isChecked());
}

TEST(FittingCalculators, LeavingABadBoxPutsZeroInItAndWarnsBesideIt)
{
    test::TScriptedDialogs dialogs;
    TPipeEntranceCalculationForm form;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(form.KResultText(), "");
        form.Calculate();
        EXPECT_EQ(form.KResultText(), "0.15");
        // Any change takes the result back.
        form.DiameterEdit->setText("4.0");
        EXPECT_EQ(form.KResultText(), "");
        EXPECT_EQ(form.RatioLabel->text(), "");

        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.RadiusEdit->setFocus();
        form.RadiusEdit->setText("abc");
        dialogs.Expect(TDialogKind::Warning, "Numeric entry is not valid");
        form.DiameterEdit->setFocus();
        EXPECT_EQ(form.RadiusEdit->text(), "0.00");
        ASSERT_EQ(dialogs.Boxes.size(), 1u);
        const QPoint expected = form.RadiusEdit->mapTo(&form, QPoint(0, 0)) + QPoint(form.x() - 60, form.y() - 120);
        EXPECT_EQ(dialogs.Boxes[0].Request.Position.value_or(QPoint(-1, -1)), expected);

        // Leaving towards Cancel says nothing.
        form.RadiusEdit->setFocus();
        form.RadiusEdit->setText("");
        form.CancelBitBtn->setFocus();
        EXPECT_EQ(dialogs.Boxes.size(), 1u);
        EXPECT_EQ(form.RadiusEdit->text(), "");
        form.reject();
    });
    form.exec();
    EXPECT_FALSE(form.UseAsNewFitting());
}

} // namespace
} // namespace tessaran
