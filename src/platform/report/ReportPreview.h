// ReportPreview: the print preview of a laid-out report. Opens maximised at page width, with
// page navigation, zoom, print (printer dialog on the listing printer) and export (PDF first
// among the save types). No thumbnails, no search.
#pragma once

#include "platform/report/ReportDocument.h"

#include <QDialog>

class QLabel;
class QScrollArea;

namespace lumetra {

class ReportPageView;

class ReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(ReportDocument document, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const ReportDocument& document() const { return document_; }
    void setPrinterIndex(int index) { printerIndex_ = index; }
    int printerIndex() const { return printerIndex_; }
    int currentPage() const;
    qreal zoom() const;

public slots:
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void showPage(int page);
    void zoomIn();
    void zoomOut();
    void fitWidth();
    void printDocument();
    void exportDocument();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setZoom(qreal zoom);
    void applyFit();
    void updateStatus();

    ReportDocument document_;
    int printerIndex_ = -1;
    QScrollArea* scroll_ = nullptr;
    ReportPageView* view_ = nullptr;
    QLabel* status_ = nullptr;
    // At page width until the person zooms: the fit follows the window as it is maximised.
    bool fitWidth_ = true;
};

} // namespace lumetra
