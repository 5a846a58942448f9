#include "dialogs/Free_Texts_Form.h"

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "model/Free_Text_Class.h"
#include "network/Network_Class.h"
#include "platform/Stream.h"
#include "units/widgets/RightEdit.h"

namespace tessaran {
namespace {

// Opens the dialog on free text id and lets user act on it while it is up.
void Open(TFreeTextsForm &form, TNetwork &network, int id, const std::function<void(TFreeTextsForm &)> &user)
{
    bool acted = false;
    QTimer::singleShot(0, [&] {
        acted = true;
        user(form);
    });
    form.OpenForm(network.GetFreeText(id), id, network);
    EXPECT_TRUE(acted);
}

void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void TypeAngle(TFreeTextsForm &form, const QString &text)
{
    form.EditAngle->clear();
    QTest::keyClicks(form.EditAngle, text);
}

class FreeTextsForm : public ::testing::Test {
protected:
    int Place(const std::string &text, int x = 400, int y = 400, TColor colour = 0, int size = 10,
              TFontStyles style = {})
    {
        return network.AddFreeText(text, x, y, colour, size, style);
    }
    TNetwork network;
    TFreeTextsForm form;
};

TEST_F(FreeTextsForm, AnglesFoldBelowOneTurnWithTheirSign)
{
    struct Case {
        QString typed;
        int stored;
    };
    const Case cases[] = {{"725", 5}, {"-30", -30}, {"-400", -40}, {"", 0}, {"360", 0}, {"-", 0}, {"12345", 154}}; // the fifth digit is refused
    for (const Case &c : cases) {
        const int id = Place("Pump house");
        Open(form, network, id, [&](TFreeTextsForm &f) {
            TypeAngle(f, c.typed);
            Click(f.BitBtnOK);
        });
        EXPECT_EQ(network.GetFreeText(id).Angle, c.stored) << c.typed.toStdString();
    }
}

TEST_F(FreeTextsForm, BlankTextsAreRemovedAndCancelKeepsWrittenOnes)
{
    struct Case {
        const char *name;
        std::string stored;
        std::function<void(TFreeTextsForm &)> user;
        bool kept;
        std::string storedAfter;
    };
    const Case cases[] = {
        {"OK with blanks and line breaks", "Tank",
         [](TFreeTextsForm &f) {
             f.MemoFreeText->setPlainText("  \n \n  ");
             Click(f.BitBtnOK);
         },
         false, ""},
        {"Clear then OK", "Tank",
         [](TFreeTextsForm &f) {
             Click(f.BitBtnClear);
             Click(f.BitBtnOK);
         },
         false, ""},
        {"Delete", "Tank", [](TFreeTextsForm &f) { Click(f.BitBtnDelete); }, false, ""},
        {"Cancel after edits", "Tank",
         [](TFreeTextsForm &f) {
             f.MemoFreeText->setPlainText("Changed");
             f.ComboBoxSize->setCurrentIndex(12);
             Click(f.BitBtnCancel);
         },
         true, "Tank"},
        {"Escape", "Tank",
         [](TFreeTextsForm &f) {
             f.MemoFreeText->setPlainText("Changed");
             QTest::keyClick(&f, Qt::Key_Escape);
         },
         true, "Tank"},
        {"Cancel on a text just placed", "",
         [](TFreeTextsForm &f) {
             f.MemoFreeText->setPlainText("Typed but cancelled");
             Click(f.BitBtnCancel);
         },
         false, ""},
        {"close box stores as OK", "Tank",
         [](TFreeTextsForm &f) {
             f.MemoFreeText->setPlainText("Tank 2\nnorth");
             f.close();
         },
         true, "Tank 2\r\nnorth"},
    };
    for (const Case &c : cases) {
        TNetwork fresh;
        fresh.AddFreeText("Before", 100, 100, 0, 10, {});
        const int id = fresh.AddFreeText(c.stored, 400, 400, 0, 10, {});
        fresh.AddFreeText("After", 200, 200, 0, 10, {});
        Open(form, fresh, id, c.user);
        if (c.kept) {
            ASSERT_EQ(fresh.FreeTextsCount, 3) << c.name;
            EXPECT_EQ(fresh.GetFreeText(id).GetText(), c.storedAfter) << c.name;
            EXPECT_EQ(fresh.GetFreeText(id).Size, 10) << c.name;
        } else {
            ASSERT_EQ(fresh.FreeTextsCount, 2) << c.name;
            EXPECT_EQ(fresh.GetFreeText(2).GetText(), "After") << c.name;
        }
    }
}

TEST_F(FreeTextsForm, ValuesTheListsDoNotHoldAreKeptUnlessTheUserPicksOne)
{
    struct Case {
        int size;
        TColor colour;
        TFontStyles style;
        int sizeShown, colourShown, styleShown;
    };
    const Case cases[] = {
        {14, 0x0000FF, {TFontStyle::fsBold, TFontStyle::fsItalic}, 5, 4, 4},
        {11, 0x123456, {TFontStyle::fsStrikeOut}, -1, -1, -1},
        {48, 0x800080, {}, -1, 5, 0},
    };
    for (const Case &c : cases) {
        const int id = Place("Label", 400, 400, c.colour, c.size, c.style);
        Open(form, network, id, [&](TFreeTextsForm &f) {
            EXPECT_EQ(f.ComboBoxSize->currentIndex(), c.sizeShown) << c.size;
            EXPECT_EQ(f.ComboBoxColors->currentIndex(), c.colourShown) << c.size;
            EXPECT_EQ(f.ComboBoxStyle->currentIndex(), c.styleShown) << c.size;
            EXPECT_EQ(f.LabelExample->font().pointSize(), c.size);
            Click(f.BitBtnOK);
        });
        const TFreeText &stored = network.GetFreeText(id);
        EXPECT_EQ(stored.Size, c.size);
        EXPECT_EQ(stored.Color, c.colour);
        EXPECT_EQ(stored.Style, c.style);
    }
    const int id = Place("Label", 400, 400, 0x123456, 11, {});
    Open(form, network, id, [](TFreeTextsForm &f) {
        f.ComboBoxSize->setCurrentIndex(0);
        f.ComboBoxColors->setCurrentIndex(2);
        Click(f.BitBtnOK);
    });
    EXPECT_EQ(network.GetFreeText(id).Size, 7);
    EXPECT_EQ(network.GetFreeText(id).Color, 0xFF0000u);
}

TEST_F(FreeTextsForm, GridAlignmentSnapsThePosition)
{
    network.MetaFileDrawing_XGridSpacing = 20;
    network.MetaFileDrawing_YGridSpacing = 20;
    const int id = Place("Valve pit", 103, 57);
    Open(form, network, id, [](TFreeTextsForm &f) {
        EXPECT_TRUE(f.CheckBoxLeftAlign->isChecked());
        EXPECT_FALSE(f.CheckBoxTopAlign->isChecked());
        f.CheckBoxTopAlign->setChecked(true);
        Click(f.BitBtnOK);
    });
    EXPECT_EQ(network.GetFreeText(id).x, 103);
    EXPECT_EQ(network.GetFreeText(id).y, 60);
}

TEST_F(FreeTextsForm, ChoicesSurviveTheNetworkFile)
{
    // The main window places an empty text and opens the dialog on it.
    const int id = Place("", 2000, 1500);
    Open(form, network, id, [](TFreeTextsForm &f) {
        QTest::keyClicks(f.MemoFreeText, "Booster station");
        f.ComboBoxColors->setCurrentIndex(f.ComboBoxColors->findText("Red"));
        f.ComboBoxSize->setCurrentIndex(f.ComboBoxSize->findText("14"));
        f.ComboBoxStyle->setCurrentIndex(f.ComboBoxStyle->findText("Bold Italic"));
        TypeAngle(f, "30");
        Click(f.BitBtnOK);
    });
    QTemporaryDir folder;
    const std::string path = folder.filePath("texts.trz").toStdString();
    network.SaveToFile(path);

    TNetwork reloaded;
    TMemoryStream file;
    file.LoadFromFile(path);
    reloaded.Load(file);
    ASSERT_EQ(reloaded.FreeTextsCount, 1);
    Open(form, reloaded, 1, [](TFreeTextsForm &f) {
        EXPECT_EQ(f.MemoFreeText->toPlainText(), "Booster station");
        EXPECT_EQ(f.ComboBoxColors->currentText(), "Red");
        EXPECT_EQ(f.ComboBoxSize->currentText(), "14");
        EXPECT_EQ(f.ComboBoxStyle->currentText(), "Bold Italic");
        EXPECT_EQ(f.EditAngle->text(), "30");
        EXPECT_TRUE(f.LabelExample->font().bold() && f.LabelExample->font().italic());
        EXPECT_EQ(f.LabelExample->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        Click(f.BitBtnCancel);
    });
    EXPECT_EQ(reloaded.FreeTextsCount, 1);
}

} // namespace
} // namespace tessaran
