// The choices of a job in words, one row per subject, for showing them
// read-only beside what is done with them (the single-point window).
#pragma once

#include <string>
#include <vector>

#include "conversion/ConversionJob.h"

namespace transref {

struct JobDescriptionRow {
  std::string subject;  // "Entrada", "Saída", "Modelo", "Parâmetros", "Altimetria"
  std::string text;
};

// E.g. {"Entrada", "UTM — MC 51° W, hemisfério S, FE 500000 m, FN 10000000 m, k0 0.9996 — GRS80
// (WGS84; SIRGAS) — altitudes ortométricas (H)"}. Numbers in their shortest
// exact form with a point.
std::vector<JobDescriptionRow> DescribeJob(const ConversionJob& job);

}  // namespace transref
