#include "docexport/Document_Engine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

#include "docexport/Doc_Settings.h"
#include "docexport/File_Stream.h"
#include "docexport/Metafile_Processor.h"
#include "platform/Pascal.h"

namespace tessaran {

std::function<void(const std::string &fileName)> TdeCustomDocumentEngine::ShellOpen;

namespace {

std::string UpperCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Extension of a file name including its dot ("" when it has none).
std::string ExtractFileExt(const std::string &name)
{
    const auto dot = name.find_last_of('.');
    const auto slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot))
        return {};
    return name.substr(dot);
}

// Entries of a comma text: commas and blanks separate, double quotes group
// (a doubled quote inside quotes stands for one).
std::vector<std::string> SplitCommaText(const std::string &text)
{
    std::vector<std::string> entries;
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto isSeparator = [](char c) { return c == ',' || static_cast<unsigned char>(c) <= ' '; };
    while (p < n) {
        while (p < n && static_cast<unsigned char>(text[p]) <= ' ')
            ++p;
        if (p >= n)
            break;
        std::string entry;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        entry += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                entry += text[p++];
            }
        } else {
            while (p < n && !isSeparator(text[p]))
                entry += text[p++];
        }
        entries.push_back(entry);
        while (p < n && static_cast<unsigned char>(text[p]) <= ' ')
            ++p;
        if (p < n && text[p] == ',')
            ++p;
    }
    return entries;
}

bool ParsePageNumber(std::string_view text, int &value)
{
    if (text.empty())
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

double ItemY(const TdeDocumentItem &item)
{
    const auto *text = dynamic_cast<const TdeTextItem *>(&item);
    return text ? text->Y : 0;
}

double ItemX(const TdeDocumentItem &item)
{
    const auto *text = dynamic_cast<const TdeTextItem *>(&item);
    return text ? text->X : 0;
}

} // namespace

// ---- Construction -------------------------------------------------------------

TdeCustomDocumentEngine::TdeCustomDocumentEngine(TdeBaseComponent *owner)
    : TdeBaseComponent(owner),
      FPreferences(std::make_unique<TdePreferences>()),
      FFrame(std::make_unique<TdeFrame>(this)),
      FPage(std::make_unique<TdePageSettings>(this)),
      FImageSettings(std::make_unique<TdeImageSettings>(this))
{
    SetMeasurementUnit(TdeUnitType::muInches);
}

TdeCustomDocumentEngine::~TdeCustomDocumentEngine()
{
    // A shared settings component that outlives the engine must not keep it
    // in its list.
    SetSettings(nullptr);
    FCanvas.reset();
}

std::unique_ptr<TdePreferences> TdeCustomDocumentEngine::PreferencesClass() const
{
    return std::make_unique<TdePreferences>();
}

void TdeCustomDocumentEngine::ReplacePreferences(std::unique_ptr<TdePreferences> preferences)
{
    if (preferences)
        FPreferences = std::move(preferences);
}

void TdeCustomDocumentEngine::Notification(TdeBaseComponent *component, TOperation operation)
{
    TdeBaseComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == FSettings)
        FSettings = nullptr;
    if (component == FSetupDialog)
        FSetupDialog = nullptr;
    if (component == FEmailAdapter)
        FEmailAdapter = nullptr;
}

// ---- Properties -----------------------------------------------------------------

void TdeCustomDocumentEngine::SetFileName(const std::string &value)
{
    if (FIsDocumentStarted)
        return;
    const std::string extension = ExtractFileExt(value);
    if (!extension.empty() && UpperCase(extension) == "." + UpperCase(FFileExtension))
        FFileName = value.substr(0, value.size() - extension.size());
    else
        FFileName = value;
}

void TdeCustomDocumentEngine::SetMeasurementUnit(TdeUnitType value)
{
    FMeasurementUnit = value;
    FNativeConversionFactor = UnitToNativeFactor(value);
    FPage->SetNativeFactor(FNativeConversionFactor);
    FTextFormatting.SetNativeFactor(FNativeConversionFactor);
    FTableSettings.SetNativeFactor(FNativeConversionFactor);
}

void TdeCustomDocumentEngine::SetReferencePoint(TdeReferencePoint value)
{
    FReferencePoint = value;
    UpdateBandRect();
}

void TdeCustomDocumentEngine::SetSetupDialog(TdeBaseDlg *value)
{
    if (FSetupDialog)
        RemoveFreeNotification(FSetupDialog);
    FSetupDialog = value;
    if (FSetupDialog)
        FreeNotification(FSetupDialog);
}

void TdeCustomDocumentEngine::SetEmailAdapter(TdeEmailAdapter *value)
{
    if (FEmailAdapter)
        RemoveFreeNotification(FEmailAdapter);
    FEmailAdapter = value;
    if (FEmailAdapter)
        FreeNotification(FEmailAdapter);
}

void TdeCustomDocumentEngine::SetSettings(TdeDocSettings *value)
{
    if (FSettings) {
        FSettings->RemoveEngine(this);
        RemoveFreeNotification(FSettings);
    }
    FSettings = value;
    if (FSettings) {
        FreeNotification(FSettings);
        FSettings->AddEngine(this);
    }
}

void TdeCustomDocumentEngine::SetUserStream(TStream *value)
{
    if (!FIsDocumentStarted)
        FUserStream = value;
}

void TdeCustomDocumentEngine::SetTextEffects(const TdeTextEffects &value)
{
    FTextEffects.TextRenderMode = value.TextRenderMode;
    FTextEffects.TextRise = value.TextRise;
}

void TdeCustomDocumentEngine::SetTextFormatting(const TdeTextFormatting &value)
{
    FTextFormatting.Assign(value);
    const double factor = FNativeConversionFactor;
    FTextFormatting.SetNativeLeftIndent(FTextFormatting.NativeLeftIndent() * factor);
    FTextFormatting.SetNativeRightIndent(FTextFormatting.NativeRightIndent() * factor);
    FTextFormatting.SetNativeFirstLineIndent(FTextFormatting.NativeFirstLineIndent() * factor);
}

void TdeCustomDocumentEngine::SetTableSettings(const TdeTableSettings &value)
{
    const double factor = FNativeConversionFactor;
    FTableSettings.SetNativeColumnWidth(value.ColumnWidth() * factor);
    FTableSettings.SetNativeRowHeight(value.RowHeight() * factor);
    FTableSettings.SetNativeTitleHeight(value.TitleHeight() * factor);
    FTableSettings.AutoAdjustColumnWidth = value.AutoAdjustColumnWidth;
    FTableSettings.EnableTitle = value.EnableTitle;
    FTableSettings.SetNativeInternalMargin(ScaleDocRect(value.InternalMargin(), factor));
}

bool TdeCustomDocumentEngine::IsImageFormatSupported(TdeOutputImageFormat) { return true; }

// ---- Document lifecycle ------------------------------------------------------------

void TdeCustomDocumentEngine::BeginDoc()
{
    FNoSorting = false;
    if (FIsDocumentStarted)
        return;
    if (OnBeforeBeginDoc)
        OnBeforeBeginDoc(this);

    int result = mrOk;
    if (FPreferences->ShowSetupDialog()) {
        if (FSetupDialog) {
            TdeBaseDlg *dialog = FSetupDialog;
            dialog->Engine = this;
            try {
                result = dialog->ShowModal();
            } catch (...) {
                dialog->Engine = nullptr;
                throw;
            }
            dialog->Engine = nullptr;
        } else {
            result = ShowDefaultSetupDialog();
        }
    }
    if (result == mrCancel) {
        FEngineStatus = TdeEngineStatus::esCancelled;
        return;
    }

    StartDocument();
    try {
        NewPage();
        BeginDocOutput();
    } catch (...) {
        // A document that fails leaves no file behind.
        FEngineStatus = TdeEngineStatus::esError;
        DiscardOutputFiles();
        throw;
    }
    FEngineStatus = TdeEngineStatus::esStarted;
    FTablenumber = -1;
    if (OnAfterBeginDoc)
        OnAfterBeginDoc(this);
}

void TdeCustomDocumentEngine::StartDocument()
{
    FIsDocumentStarted = true;
    FPages.clear();
    FMetafile = std::make_unique<TMetafile>();
    FHeaderItem = std::make_unique<TdeBandItem>();
    FFooterItem = std::make_unique<TdeBandItem>();
    FWatermarkItem = std::make_unique<TdeBandItem>();
    FStampItem = std::make_unique<TdeBandItem>();
    FImageResourceList.clear();
    FImageResourceHashList.clear();
    FEngineStateList.clear();
    FDefaultState = SaveEngineState();
    FEngineFileNames.clear();
    FCurrentPage = 0;
    FPageCount = 0;
    FRowsOnPage.clear();
    FTableOnLastpage.clear();
    FTables.clear();
    FTableItem.reset();
    FIsTableStarted = false;
    FParagraphItem.reset();
    FParaItem.clear();
    FIsParaStarted.clear();
    FIsParagraphStarted = false;
}

void TdeCustomDocumentEngine::NewPage()
{
    if (!FIsDocumentStarted)
        return;
    if (FAbortCreation) {
        FPreferences->SetOpenAfterCreate(false);
        EndDoc();
        FAbortCreation = false;
        return;
    }
    if (FCurrentPage > 0) {
        if (TdePageItem *page = CurrentPageItem())
            page->OffsetY = FCurrentOffsetY;
        if (!IsStreamed())
            ProcessPageRecording();
    }
    if (IsStreamed() && FCurrentPage != 0)
        RenderPage();

    ++FPageCount;
    FCurrentPage = FPageCount;
    auto page = std::make_unique<TdePageItem>(this);
    page->SetSettings(*FPage);
    SelectLists(*page);
    OpenPageCanvas(*page);
    FPages.push_back(std::move(page));
    SetBandType(TdeBandType::btContent);
}

void TdeCustomDocumentEngine::EndDoc()
{
    if (!FIsDocumentStarted)
        return;
    try {
        if (IsStreamed()) {
            RenderPage();
        } else {
            ProcessPageRecording();
            for (int i = 1; i <= static_cast<int>(FPages.size()); ++i) {
                FCurrentPage = i;
                RenderPage();
            }
        }
        if (OnBeforeEndDoc)
            OnBeforeEndDoc(this);
        FPages.clear();
        EndDocOutput();
    } catch (...) {
        FEngineStatus = TdeEngineStatus::esError;
        DiscardOutputFiles();
        throw;
    }
    if (OnAfterEndDoc)
        OnAfterEndDoc(this);
    if (FPreferences->OpenAfterCreate() && !FEngineFileNames.empty() && ShellOpen)
        ShellOpen(FEngineFileNames.front());
    if (FPreferences->EmailAfterCreate()) {
        PrepareEmailAttachments();
        SendDocumentByEmail();
    }
    // An abandoned document leaves no file behind: it reads as cancelled,
    // not as finished.
    const bool aborted = FAbortCreation;
    FinishDocument();
    FEngineStatus = aborted ? TdeEngineStatus::esCancelled : TdeEngineStatus::esFinished;
}

void TdeCustomDocumentEngine::FinishDocument()
{
    // The default state may have been cleared by the caller; the document
    // still finishes.
    if (FDefaultState >= 0 && FDefaultState < static_cast<int>(FEngineStateList.size()))
        RestoreEngineState(FDefaultState);

    FCanvas.reset();
    for (TdeBandItem *band : {FHeaderItem.get(), FFooterItem.get(), FWatermarkItem.get(), FStampItem.get()})
        if (band) {
            band->DocumentItems.clear();
            band->TextItems.clear();
        }
    FCurrentDocumentItemList = nullptr;
    FCurrentTextItemList = nullptr;
    FHeaderItem.reset();
    FFooterItem.reset();
    FWatermarkItem.reset();
    FStampItem.reset();
    FMetafile.reset();

    if (!FPreferences->UseImagesAsResources() || IsStreamed())
        FreeImageResources();
    FImageResourceList.clear();
    FImageResourceHashList.clear();

    if (FAbortCreation)
        for (const std::string &name : FEngineFileNames) {
            std::error_code error;
            std::filesystem::remove(name, error);
        }
    FEngineFileNames.clear();
    FEmailSettings.Attachments.clear();
    ClearEngineStates();
    FPages.clear();
    FCarriedItems.clear();
    FTables.clear();
    FTableItem.reset();
    FIsTableStarted = false;
    FParagraphItem.reset();
    FParaItem.clear();
    FIsParagraphStarted = false;

    FCurrentPage = 0;
    FPageCount = 0;
    FTextRotationAngle = 0;
    FTextAlignment = TdeHAlignment::haLeft;
    FIsDocumentStarted = false;
}

void TdeCustomDocumentEngine::DiscardOutputFiles()
{
    for (const std::string &name : FEngineFileNames) {
        std::error_code error;
        std::filesystem::remove(name, error);
    }
    FinishDocument();
}

std::unique_ptr<TStream> TdeCustomDocumentEngine::CreateOutputFile(const std::string &name)
{
    try {
        return std::make_unique<TdeFileStream>(name);
    } catch (const EStreamError &) {
        FEngineStatus = TdeEngineStatus::esError;
        DiscardOutputFiles();
        throw EFileCreateError();
    }
}

// ---- Pages -------------------------------------------------------------------------

TdePageItem *TdeCustomDocumentEngine::CurrentPageItem() const
{
    if (FCurrentPage < 1 || FCurrentPage > static_cast<int>(FPages.size()))
        return nullptr;
    return FPages[static_cast<std::size_t>(FCurrentPage - 1)].get();
}

void TdeCustomDocumentEngine::SelectLists(TdeBandItem &band)
{
    FCurrentDocumentItemList = &band.DocumentItems;
    FCurrentTextItemList = &band.TextItems;
    FCurrentOffsetY = band.OffsetY;
}

void TdeCustomDocumentEngine::OpenPageCanvas(const TdePageItem &page)
{
    FCanvas.reset();
    if (!FMetafile)
        return;
    FMetafile->Width = static_cast<int>(Round(page.Settings().NativeWidth()));
    FMetafile->Height = static_cast<int>(Round(page.Settings().NativeHeight()));
    FCanvas = std::make_unique<TMetafileCanvas>(*FMetafile);
}

void TdeCustomDocumentEngine::ProcessPageRecording()
{
    if (FCanvas) {
        FCanvas->Close();
        FCanvas.reset();
    }
    if (FMetafile)
        ProcessMetafile(*FMetafile, 0, 0);
}

void TdeCustomDocumentEngine::SetWorkingPage(int pageNo)
{
    if (IsStreamed())
        return;
    if (pageNo < 1 || pageNo > FPageCount) {
        ReportError<EInvalidPageNumber>();
        return;
    }
    if (FCurrentPage > 0) {
        if (TdePageItem *page = CurrentPageItem())
            page->OffsetY = FCurrentOffsetY;
        ProcessPageRecording();
    }
    FCurrentPage = pageNo;
    if (TdePageItem *page = CurrentPageItem()) {
        // The new recording belongs to the page made current, so it takes
        // that page's size.
        OpenPageCanvas(*page);
        SelectLists(*page);
    }
}

bool TdeCustomDocumentEngine::IsPageToRender(int pageNo) const
{
    if (FPagesToRender.empty())
        return true;
    for (const std::string &entry : SplitCommaText(FPagesToRender)) {
        if (entry.empty() || entry.find_first_not_of("-0123456789") != std::string::npos)
            continue;
        const auto dash = entry.find('-');
        if (dash == std::string::npos) {
            int page = 0;
            if (ParsePageNumber(entry, page) && page == pageNo)
                return true;
            continue;
        }
        // A range "from-to"; an entry without both numbers names no page.
        int from = 0, to = 0;
        const std::string_view text(entry);
        if (ParsePageNumber(text.substr(0, dash), from) && ParsePageNumber(text.substr(dash + 1), to) &&
            pageNo >= from && pageNo <= to)
            return true;
    }
    return false;
}

void TdeCustomDocumentEngine::RenderPage()
{
    TdePageItem *page = CurrentPageItem();
    if (!page)
        return;
    bool rendered = false;
    if (IsPageToRender(FCurrentPage)) {
        rendered = true;
        if (OnBeforeBeginPage)
            OnBeforeBeginPage(this);
        if (IsStreamed())
            ProcessPageRecording();
        FBandType = TdeBandType::btContent;
        BeginPageOutput();
        if (OnAfterBeginPage)
            OnAfterBeginPage(this);
        DrawPageBorder();
        if (FSortTextItems && FCurrentPage == 1) {
            SortTextItems(FHeaderItem->TextItems);
            SortTextItems(FFooterItem->TextItems);
        }
        const bool firstPage = FCurrentPage == 1;
        if (!FCapabilities.Contains(TdeCapabilityKind::ckHeader) || firstPage)
            RenderBand(*FHeaderItem, TdeBandType::btHeader, false);
        if (!FCapabilities.Contains(TdeCapabilityKind::ckWatermark) || firstPage)
            RenderBand(*FWatermarkItem, TdeBandType::btWatermark, true);
        RenderBand(*page, TdeBandType::btContent, true);
        if (!FCapabilities.Contains(TdeCapabilityKind::ckFooter) || firstPage)
            RenderBand(*FFooterItem, TdeBandType::btFooter, false);
        if (!FCapabilities.Contains(TdeCapabilityKind::ckStamp) || firstPage)
            RenderBand(*FStampItem, TdeBandType::btStamp, true);
        FBandType = TdeBandType::btContent;
        if (OnBeforeEndPage)
            OnBeforeEndPage(this);
        EndPageOutput();
        if (OnAfterEndPage)
            OnAfterEndPage(this);
    }
    if (!rendered && IsStreamed())
        FCanvas.reset(); // the unrendered page's recording is dropped

    FreeItems(page->TextItems);
    ReleaseStreamResources();
    FreeItems(page->DocumentItems);
    if (IsStreamed() && !FPreferences->UseImagesAsResources())
        FreeImageResources();
    if (FCurrentDocumentItemList == &page->DocumentItems) {
        FCurrentDocumentItemList = nullptr;
        FCurrentTextItemList = nullptr;
    }
    // The entry stays in the page list, empty, until EndDoc clears the list.
    FPages[static_cast<std::size_t>(FCurrentPage - 1)].reset();
}

void TdeCustomDocumentEngine::RenderBand(TdeBandItem &band, TdeBandType type, bool sort)
{
    FBandType = type;
    if (sort)
        SortTextItems(band.TextItems);
    RenderItems(band.DocumentItems);
    RenderTextItems(band.TextItems);
}

void TdeCustomDocumentEngine::RenderItems(TdeItemList &list)
{
    // By index: a render hook may append to the list it walks.
    for (std::size_t i = 0; i < list.size(); ++i) {
        TdeDocumentItem *item = list[i].get();
        if (!item)
            continue;
        // Text boxes are text items and image streams are image items: test
        // the derived classes first.
        if (auto *textBox = dynamic_cast<TdeTextBoxItem *>(item))
            RenderTextBoxItem(*textBox);
        else if (auto *text = dynamic_cast<TdeTextItem *>(item))
            RenderTextItem(*text);
        else if (auto *imageStream = dynamic_cast<TdeImageStream *>(item))
            RenderImageStreamItem(*imageStream);
        else if (auto *image = dynamic_cast<TdeImageItem *>(item))
            RenderImageItem(*image);
        else if (auto *shape = dynamic_cast<TdeShapeItem *>(item)) {
            FPenJoin = shape->PenJoinStyle;
            FPenCap = shape->PenCapStyle;
            RenderShapeItem(*shape);
        } else if (auto *polyShape = dynamic_cast<TdePolyShapeItem *>(item))
            RenderPolyShapeItem(*polyShape);
        else if (auto *placement = dynamic_cast<TdeTablePlacement *>(item))
            RenderTablePlacement(placement->TableNumber);
        else if (auto *paragraph = dynamic_cast<TdeParagraphItem *>(item))
            RenderParagraphItem(*paragraph);
        else if (auto *clip = dynamic_cast<TdeClipItem *>(item))
            RenderClipItem(*clip);
        else if (auto *path = dynamic_cast<TdePathItem *>(item))
            RenderPathItem(*path);
        else if (auto *polyPolygon = dynamic_cast<TdePolyPolygonItem *>(item))
            RenderPolyPolygonItem(*polyPolygon);
        else if (auto *eof = dynamic_cast<TdeEOFItem *>(item))
            RenderEOFItem(*eof);
        else if (auto *polyDraw = dynamic_cast<TdePolyDrawItem *>(item))
            RenderPolyDrawItem(*polyDraw);
        else
            RenderOtherItem(*item);
    }
}

void TdeCustomDocumentEngine::RenderTablePlacement(int tableNumber)
{
    if (tableNumber < 0 || tableNumber >= static_cast<int>(FTables.size()))
        return;
    auto &table = FTables[static_cast<std::size_t>(tableNumber)];
    if (!table)
        return;
    RenderTableItem(*table);
    // A table lives until its last page has been drawn.
    if (FTableOnLastpage[static_cast<std::size_t>(tableNumber)])
        table.reset();
}

void TdeCustomDocumentEngine::RenderTextItems(TdeItemList &list)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (auto *text = dynamic_cast<TdeTextItem *>(list[i].get()))
            RenderTextItem(*text);
}

void TdeCustomDocumentEngine::RenderShapeItem(TdeShapeItem &item)
{
    const TdePoints &p = item.GetPoints();
    const int n = std::min(item.NoPoints(), static_cast<int>(p.size()));
    if (n <= 0)
        return;
    const auto need = [n](int count) { return n >= count; };
    const TdeBrush *brush = item.Brush();
    switch (item.ShapeType) {
    case TdeShapeType::stLine:
        if (need(2))
            DrawLineShape(item.Pen, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TdeShapeType::stRectangle:
        if (need(2))
            DrawRectangleShape(item.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TdeShapeType::stRoundRect:
        if (need(3))
            DrawRoundRectShape(item.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y);
        break;
    case TdeShapeType::stEllipse:
        if (need(2))
            DrawEllipseShape(item.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y);
        break;
    case TdeShapeType::stPolygon: DrawPolygonShape(p, n, true, item.Pen, brush); break;
    case TdeShapeType::stPolyLine: DrawPolygonShape(p, n, false, item.Pen, brush); break;
    case TdeShapeType::stArc:
        if (need(4))
            DrawArcShape(item.Pen, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, p[3].X, p[3].Y);
        break;
    case TdeShapeType::stChord:
        if (need(4))
            DrawChordShape(item.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, p[3].X, p[3].Y);
        break;
    case TdeShapeType::stPie:
        if (need(4))
            DrawPieShape(item.Pen, brush, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, p[3].X, p[3].Y);
        break;
    case TdeShapeType::stPolyBezier: DrawPolyBezierShape(p, n, item.Pen); break;
    }
}

void TdeCustomDocumentEngine::RenderPolyShapeItem(TdePolyShapeItem &item)
{
    if (item.Shapes.empty() || !item.Shapes.front())
        return;
    if (item.Shapes.front()->ShapeType == TdeShapeType::stPolygon)
        DrawPolyShape(item, true);
    else if (item.Shapes.front()->ShapeType == TdeShapeType::stPolyLine)
        DrawPolyShape(item, false);
}

void TdeCustomDocumentEngine::SortTextItems(TdeItemList &list)
{
    if (!FNoSorting) {
        // Stable insertion sort by Y: an item moves before a preceding one
        // only when that one lies strictly lower.
        for (std::size_t i = 1; i < list.size(); ++i)
            for (std::size_t j = i; j > 0 && ItemY(*list[j - 1]) > ItemY(*list[j]); --j)
                std::swap(list[j - 1], list[j]);
    }
    // Row pass: within a row (Y within FYFactor of the row's Y), order by X.
    double rowY = -FYFactor;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const double y = ItemY(*list[i]);
        if (rowY + FYFactor > y && rowY == y) {
            std::size_t j = i;
            while (j > 0 && ItemY(*list[j - 1]) >= y && ItemX(*list[j - 1]) > ItemX(*list[j])) {
                std::swap(list[j - 1], list[j]);
                --j;
            }
        }
        rowY = y;
    }
}

void TdeCustomDocumentEngine::ProcessMetafile(TMetafile &metafile, double X, double Y)
{
    const double startX = X + FBandRect.Left;
    const double startY = Y + FBandRect.Top;
    if (!FCapabilities.Contains(TdeCapabilityKind::ckInputRes) &&
        (FInputXRes != ScreenPixelsPerInch || FInputYRes != ScreenPixelsPerInch)) {
        // The output cannot apply the input resolution itself: play the
        // drawing into a page-sized recording first.
        TMetafile rerecorded;
        rerecorded.Width = static_cast<int>(Round(UnitToNativeX(FPage->Width())));
        rerecorded.Height = static_cast<int>(Round(UnitToNativeY(FPage->Height())));
        TMetafileCanvas canvas(rerecorded);
        canvas.StretchDraw(TRect{0, 0, rerecorded.Width, rerecorded.Height}, metafile);
        canvas.Close();
        ExecuteMetafile(rerecorded, startX, startY);
        return;
    }
    ExecuteMetafile(metafile, startX, startY);
}

void TdeCustomDocumentEngine::ExecuteMetafile(TMetafile &metafile, double startX, double startY)
{
    TdeMetafileProcessor processor(*this);
    processor.FCombineCharsToSentence = true;
    processor.Execute(metafile, startX, startY);
}

// ---- Items ---------------------------------------------------------------------------

TdeDocumentItem *TdeCustomDocumentEngine::AddItem(std::unique_ptr<TdeDocumentItem> item)
{
    if (!item || !FCurrentDocumentItemList)
        return nullptr;
    TdeDocumentItem *added = item.get();
    const bool plainText = dynamic_cast<TdeTextItem *>(added) && !dynamic_cast<TdeTextBoxItem *>(added);
    if (FSortTextItems && plainText && FCurrentTextItemList)
        FCurrentTextItemList->push_back(std::move(item));
    else
        FCurrentDocumentItemList->push_back(std::move(item));
    return added;
}

void TdeCustomDocumentEngine::FreeItems(TdeItemList &list)
{
    for (auto &item : list)
        if (item && IsItemKeptAfterPage(*item))
            FCarriedItems.push_back(std::move(item));
    list.clear();
}

void TdeCustomDocumentEngine::FreeImageResources()
{
    for (std::size_t i = 0; i < FImageResourceList.size(); ++i) {
        FImageResourceList[i].Graphic.reset();
        FImageResourceList[i].Stream = nullptr;
        if (i < FImageResourceHashList.size())
            FImageResourceHashList[i].reset();
    }
}

void TdeCustomDocumentEngine::ReleaseStreamResources()
{
    for (std::size_t i = 0; i < FImageResourceList.size(); ++i)
        if (FImageResourceList[i].Stream) {
            FImageResourceList[i].Stream = nullptr;
            if (i < FImageResourceHashList.size())
                FImageResourceHashList[i].reset();
        }
}

// ---- Engine states ---------------------------------------------------------------------

int TdeCustomDocumentEngine::SaveEngineState()
{
    if (!FIsDocumentStarted)
        return -1;
    auto state = std::make_unique<TdeEngineState>();
    state->Font = FFont;
    state->Brush = FBrush;
    state->Pen = FPen;
    state->ImageSettings.Assign(*FImageSettings);
    state->TextFormatting.Assign(FTextFormatting);
    state->TableSettings.Assign(FTableSettings);
    state->TextEffects.Assign(FTextEffects);
    state->Page.Assign(*FPage);
    FEngineStateList.push_back(std::move(state));
    return static_cast<int>(FEngineStateList.size()) - 1;
}

void TdeCustomDocumentEngine::RestoreEngineState(int index)
{
    if (!FIsDocumentStarted)
        return;
    if (index == -1)
        index = static_cast<int>(FEngineStateList.size()) - 1;
    if (index < 0 || index >= static_cast<int>(FEngineStateList.size())) {
        ReportError<EInvalidEngineState>();
        return;
    }
    const TdeEngineState &state = *FEngineStateList[static_cast<std::size_t>(index)];
    FFont = state.Font;
    FPen = state.Pen;
    FBrush = state.Brush;
    FImageSettings->Assign(state.ImageSettings);
    FTextFormatting.Assign(state.TextFormatting);
    FTableSettings.Assign(state.TableSettings);
    FPage->Assign(state.Page);
    FTextEffects.Assign(state.TextEffects);
}

void TdeCustomDocumentEngine::ClearEngineStates()
{
    if (FIsDocumentStarted)
        FEngineStateList.clear();
}

// ---- E-mail ------------------------------------------------------------------------------

void TdeCustomDocumentEngine::PrepareEmailAttachments()
{
    for (const std::string &name : FEngineFileNames)
        FEmailSettings.Attachments.push_back(name);
}

} // namespace tessaran
