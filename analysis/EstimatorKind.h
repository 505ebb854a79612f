#pragma once

#include <QString>

// The two ways of turning detected lines into an attitude. Classic weighs the
// detector's first fifteen lines and smooths at a fixed rate; precise refines
// the strongest plausible line on the arm's two edges and smooths adaptively.
enum class EstimatorKind { Precise, Classic };

// "precise" or "classic", as the settings store and the command line write it.
QString estimatorKindName(EstimatorKind kind);

// The kind a name stands for; ok tells whether the name was one of the two.
EstimatorKind estimatorKindFromName(const QString& name, bool& ok);
