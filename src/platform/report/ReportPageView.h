// ReportPageView: draws one page of a report document at a zoom (pixels per report unit).
#pragma once

#include <QWidget>

namespace lumetra {

class ReportDocument;

class ReportPageView : public QWidget {
    Q_OBJECT
public:
    ReportPageView(const ReportDocument& document, QWidget* parent = nullptr);

    int page() const { return page_; }
    void setPage(int page);
    qreal zoom() const { return zoom_; }
    void setZoom(qreal zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ReportDocument& document_;
    int page_ = 0;
    qreal zoom_ = 1;
};

} // namespace lumetra
