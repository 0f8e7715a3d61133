#include "app/erlangcommand.h"

#include "app/commandtable.h"
#include "reports/capacity/erlangb.h"
#include "reports/capacity/sizing.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>
#include <utility>
#include <vector>

namespace tarrow::app {

namespace {

constexpr int kBadUsage = 2;
constexpr double kMostErlangs = 1e6;

// One figure of an answer: its key and value (none prints null).
using Figure = std::pair<QString, std::optional<double>>;

int usage(QTextStream& err, const QString& message) {
    err << message << '\n';
    return kBadUsage;
}

std::optional<double> number(const std::optional<QString>& text) {
    bool ok = false;
    const double value = text ? text->toDouble(&ok) : 0.0;
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

void print(const std::vector<Figure>& figures, bool json, QTextStream& out) {
    if (json) {
        QJsonObject object;
        for (const auto& [key, value] : figures)
            object.insert(key, value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null));
        out << QJsonDocument(object).toJson(QJsonDocument::Indented);
        return;
    }
    for (const auto& [key, value] : figures)
        out << key << ": " << (value ? QString::number(*value, 'g', 10) : QStringLiteral("null"))
            << '\n';
}

} // namespace

int runErlang(const ErlangArguments& a, QTextStream& out, QTextStream& err) {
    const bool ports = a.ports.has_value();
    const bool gos = a.gos.has_value();
    const bool erlangs = a.erlangs.has_value();
    const bool carried = a.carried.has_value();
    const int asked = (ports && gos && !erlangs && !carried) +
                      (erlangs && gos && !ports && !carried) +
                      (erlangs && ports && !gos && !carried) +
                      (carried && ports && !gos && !erlangs && !a.retryShare);
    if (asked != 1)
        return usage(err, QStringLiteral("erlang answers exactly one question: --ports N --gos P, "
                                         "--erlangs A --gos P, --erlangs A --ports N or --carried "
                                         "Y --ports N. See --help."));
    const std::optional<double> n = number(a.ports);
    if (ports && (!n || *n < 0 || *n > reports::kMaxPorts || *n != std::floor(*n)))
        return usage(err, badPortsMessage());
    const std::optional<double> p = number(a.gos);
    if (gos && (!p || !reports::validGos(*p)))
        return usage(err, badGosMessage());
    const std::optional<double> traffic = number(erlangs ? a.erlangs : a.carried);
    if ((erlangs || carried) && (!traffic || *traffic < 0 || *traffic > kMostErlangs))
        return usage(err, QStringLiteral("--erlangs and --carried need a traffic from 0 to "
                                         "1000000 Erlangs."));
    const std::optional<double> r = a.retryShare ? number(a.retryShare) : 0.0;
    if (!r || !reports::validRetryShare(*r))
        return usage(err, badRetryShareMessage());

    const int count = n ? static_cast<int>(*n) : 0;
    std::vector<Figure> figures;
    if (ports && gos) {
        figures = {{QStringLiteral("capacityErlangs"), reports::erlang::capacity(count, *p, *r)}};
    } else if (erlangs && gos) {
        const int needed = reports::erlang::portsNeeded(*traffic, *p, *r);
        figures = {{QStringLiteral("portsNeeded"), needed},
                   {QStringLiteral("blocking"), reports::erlang::blocking(*traffic, needed, *r)}};
    } else if (erlangs) {
        figures = {{QStringLiteral("blocking"), reports::erlang::blocking(*traffic, count, *r)},
                   {QStringLiteral("totalOfferedErlangs"),
                    reports::erlang::totalOffered(*traffic, count, *r)}};
    } else {
        figures = {{QStringLiteral("offeredErlangs"),
                    reports::erlang::offeredFromCarried(*traffic, count)}};
    }
    print(figures, a.json, out);
    return 0;
}

} // namespace tarrow::app
