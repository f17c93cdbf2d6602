#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "maintenance/OutputSample.h"

class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

// The live trend of Read Outputs: one line per variable over the last 1, 5 or
// 15 minutes, drawn from the samples the window has read. While paused the
// lines stand still; on resume they catch up with every sample since.
class COutputTrend : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWindowsMinutes[] = {1, 5, 15};

    explicit COutputTrend(QWidget* parent);

    // Draws the samples not drawn yet (the list only grows).
    void Update(const std::vector<OutputSample>& samples);
    void SetWindowMinutes(int minutes);
    int WindowMinutes() const { return m_minutes; }
    void SetPaused(bool paused);
    bool Paused() const { return m_paused; }

    // The points a variable's line holds now.
    int Points(const std::string& variable) const;
    QChart* Chart() const { return m_chart; }

  private:
    QLineSeries* Series(const std::string& variable);
    void Rescale();

    QChart* m_chart;
    QChartView* m_view;
    QDateTimeAxis* m_time;
    QValueAxis* m_values;
    std::map<std::string, QLineSeries*> m_series;
    size_t m_drawn = 0;
    int m_minutes = 1;
    bool m_paused = false;
    qint64 m_latestMs = 0;
};
