#include "analysis/EstimatorKind.h"

namespace {
const char* const kPreciseName = "precise";
const char* const kClassicName = "classic";
} // namespace

QString estimatorKindName(EstimatorKind kind) {
    return QString::fromLatin1(kind == EstimatorKind::Classic ? kClassicName : kPreciseName);
}

EstimatorKind estimatorKindFromName(const QString& name, bool& ok) {
    const QString lower = name.trimmed().toLower();
    ok = lower == QLatin1String(kPreciseName) || lower == QLatin1String(kClassicName);
    return lower == QLatin1String(kClassicName) ? EstimatorKind::Classic : EstimatorKind::Precise;
}
