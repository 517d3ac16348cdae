// SPDX-FileCopyrightText: 2026 Olvi developers
// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtCharts
import Olvi

// The daily best speed of the last records: a filled curve with the latest
// figure over its last point. Loaded on demand: the chart module is heavy.
ChartView {
    id: chart

    property StatsViewModel stats

    antialiasing: true
    // The whole interface is Russian, whatever the process locale: the axis
    // reads "22 нояб.", like the notes beside it.
    locale: Qt.locale("ru_RU")
    backgroundColor: "transparent"
    plotAreaColor: "transparent"
    backgroundRoundness: 0
    dropShadowEnabled: false
    legend.visible: false
    margins.top: 4
    margins.bottom: 0
    margins.left: 0
    margins.right: 4

    function fill() {
        upper.clear()
        line.clear()
        mark.clear()
        if (!stats)
            return
        const points = stats.chartPoints
        for (let i = 0; i < points.length; ++i) {
            upper.append(points[i].x, points[i].y)
            line.append(points[i].x, points[i].y)
        }
        if (points.length > 0)
            mark.append(points[points.length - 1].x, points[points.length - 1].y)
    }

    onStatsChanged: fill()
    Connections {
        target: chart.stats
        function onProfileChanged() { chart.fill() }
    }

    DateTimeAxis {
        id: dayAxis
        min: chart.stats ? chart.stats.chartFrom : new Date()
        max: chart.stats ? chart.stats.chartTo : new Date()
        tickCount: chart.stats ? chart.stats.dateTickCount : 2
        format: "d MMM"
        gridVisible: false
        lineVisible: false
        labelsColor: Theme.inkFaint
        labelsFont.pixelSize: Theme.typeSmall
    }
    ValueAxis {
        id: speedAxis
        min: 0
        max: chart.stats ? chart.stats.speedAxisMax : 10
        tickCount: chart.stats ? chart.stats.speedTickCount : 2
        labelFormat: "%d"
        lineVisible: false
        gridLineColor: Theme.hairline
        labelsColor: Theme.inkFaint
        labelsFont.pixelSize: Theme.typeSmall
    }

    AreaSeries {
        axisX: dayAxis
        axisY: speedAxis
        color: Theme.accentWash
        borderWidth: 0
        borderColor: "transparent"
        upperSeries: LineSeries { id: upper }
    }
    LineSeries {
        id: line
        axisX: dayAxis
        axisY: speedAxis
        color: Theme.accent
        width: 2
    }
    ScatterSeries {
        id: mark
        axisX: dayAxis
        axisY: speedAxis
        markerShape: ScatterSeries.MarkerShapeCircle
        markerSize: 9
        color: Theme.accent
        borderColor: Theme.accent
        borderWidth: 0
    }

    // The latest speed, above and to the left of its point.
    Text {
        readonly property point at: {
            chart.plotArea // follow resizes
            const points = chart.stats ? chart.stats.chartPoints : []
            if (points.length === 0)
                return Qt.point(-100, -100)
            const last = points[points.length - 1]
            return chart.mapToPosition(last, line)
        }
        objectName: "lastSpeed"
        x: at.x - width + 2
        y: at.y - height - 4
        text: chart.stats ? chart.stats.lastSpeedText : ""
        textFormat: Text.PlainText
        font.pixelSize: Theme.typeSmall
        font.weight: Font.DemiBold
        color: Theme.ink
    }
}
