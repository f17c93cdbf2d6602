#include "dialogs/maintenance/COutputTrend.h"

#include <QDateTime>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <chrono>
#include <limits>

namespace {
// Points older than the longest window are dropped from the lines (the
// samples themselves stay for the export).
constexpr qint64 kLongestWindowMs = 15 * 60 * 1000;

qint64 Milliseconds(std::chrono::system_clock::time_point time) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}
}  // namespace

COutputTrend::COutputTrend(QWidget* parent)
    : QWidget(parent),
      m_chart(new QChart),
      m_view(new QChartView(m_chart, this)),
      m_time(new QDateTimeAxis(m_chart)),
      m_values(new QValueAxis(m_chart)) {
    setObjectName(QStringLiteral("trend"));
    m_view->setObjectName(QStringLiteral("trendView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(600, 260);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setMargins(QMargins(4, 4, 4, 4));
    m_time->setFormat(QStringLiteral("hh:mm:ss"));
    m_time->setTickCount(5);
    m_values->setLabelFormat(QStringLiteral("%g"));
    m_chart->addAxis(m_time, Qt::AlignBottom);
    m_chart->addAxis(m_values, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

QLineSeries* COutputTrend::Series(const std::string& variable) {
    const auto found = m_series.find(variable);
    if (found != m_series.end()) return found->second;
    auto* series = new QLineSeries(m_chart);
    series->setName(QString::fromStdString(variable));
    m_chart->addSeries(series);
    series->attachAxis(m_time);
    series->attachAxis(m_values);
    m_series[variable] = series;
    return series;
}

void COutputTrend::Update(const std::vector<OutputSample>& samples) {
    if (m_paused || m_drawn >= samples.size()) return;
    for (; m_drawn < samples.size(); ++m_drawn) {
        const OutputSample& sample = samples[m_drawn];
        const qint64 ms = Milliseconds(sample.time);
        m_latestMs = std::max(m_latestMs, ms);
        QLineSeries* series = Series(sample.variable);
        series->setName(QString::fromStdString(sample.variable + " (" + sample.units + ")"));
        series->append(static_cast<qreal>(ms), sample.value);
    }
    for (const auto& entry : m_series) {
        QLineSeries* series = entry.second;
        int old = 0;
        while (old < series->count() &&
               static_cast<qint64>(series->at(old).x()) < m_latestMs - kLongestWindowMs)
            ++old;
        if (old > 0) series->removePoints(0, old);
    }
    Rescale();
}

void COutputTrend::Rescale() {
    const qint64 windowMs = static_cast<qint64>(m_minutes) * 60 * 1000;
    const qint64 from = m_latestMs - windowMs;
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(from),
                     QDateTime::fromMSecsSinceEpoch(m_latestMs));
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const auto& entry : m_series) {
        for (const QPointF& point : entry.second->points()) {
            if (static_cast<qint64>(point.x()) < from) continue;
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    if (low > high) return;
    const double margin = std::max((high - low) * 0.05, 1e-3 * std::max(1.0, std::abs(high)));
    m_values->setRange(low - margin, high + margin);
}

void COutputTrend::SetWindowMinutes(int minutes) {
    m_minutes = minutes;
    Rescale();
}

void COutputTrend::SetPaused(bool paused) { m_paused = paused; }

int COutputTrend::Points(const std::string& variable) const {
    const auto found = m_series.find(variable);
    return found == m_series.end() ? 0 : static_cast<int>(found->second->count());
}
