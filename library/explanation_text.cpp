// Writing an explanation out. The layout follows the engine's own order of
// work: transcribe, walk the shorter phone list against the longer one,
// then score what the walk recorded. Numbers with a fraction are shown to
// four places; the percentage line repeats the engine's exact result.

#include "explanation_text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace marrowfield::lists {

namespace {

std::string Fixed(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  return buffer;
}

std::string PhoneAt(const std::vector<std::string>& phones, int position) {
  if (position < 0 || static_cast<size_t>(position) >= phones.size()) {
    return "?";
  }
  return phones[static_cast<size_t>(position)];
}

std::string JoinValues(const std::vector<int32_t>& values) {
  std::string joined;
  for (const int32_t value : values) {
    if (!joined.empty()) joined += " ";
    joined += std::to_string(value);
  }
  return joined;
}

// "ih (word 1)": the phone a one-sided step is about.
std::string OneSidedPhone(const ComparisonExplanation& e,
                          const ExplanationStep& step) {
  if (step.position1 >= 0) {
    return PhoneAt(e.phones1, step.position1) + " (word 1)";
  }
  return PhoneAt(e.phones2, step.position2) + " (word 2)";
}

std::string StepLine(const ComparisonExplanation& e,
                     const ExplanationStep& step) {
  std::string line;
  switch (step.kind) {
    case ExplanationStepKind::kPaired:
      line = "paired " + PhoneAt(e.phones1, step.position1) + " with " +
             PhoneAt(e.phones2, step.position2) + ", distance " +
             std::to_string(step.distance);
      break;
    case ExplanationStepKind::kSkipped:
      line = "passed over " + OneSidedPhone(e, step) + " as silent";
      break;
    case ExplanationStepKind::kLeftOver:
      line = "left over " + OneSidedPhone(e, step) + " at the end";
      break;
    case ExplanationStepKind::kTolerantPass:
      line = "passed over " + OneSidedPhone(e, step) +
             " at a cost (tolerant scoring)";
      break;
    case ExplanationStepKind::kForcedPair:
      line = "paired " + PhoneAt(e.phones1, step.position1) + " with " +
             PhoneAt(e.phones2, step.position2) +
             " at a cost, distance " + std::to_string(step.distance) +
             " (tolerant scoring: unlike phones)";
      break;
    case ExplanationStepKind::kRefused:
      line = "gave up at " +
             (step.position1 >= 0 && step.position2 >= 0
                  ? PhoneAt(e.phones1, step.position1) + " against " +
                        PhoneAt(e.phones2, step.position2)
                  : OneSidedPhone(e, step)) +
             ": no phone near enough, none that can be silent";
      break;
  }
  if (!step.values.empty()) line += "; values " + JoinValues(step.values);
  if (step.mismatches > 0) {
    line += "; " + std::to_string(step.mismatches) +
            (step.mismatches == 1 ? " mismatch" : " mismatches");
  }
  if (step.withdrawn) line += " (taken back by the next step)";
  return line;
}

// A word, the respelling it was read as in tolerant scoring (if it was),
// and the phones compared.
std::string WordLine(int number, const std::string& word,
                     const std::string& reading,
                     const std::vector<std::string>& phones) {
  return "word " + std::to_string(number) + ": \"" + word + "\"  " +
         (reading.empty() ? std::string()
                          : "read as \"" + reading + "\"  ") +
         (phones.empty() ? std::string("(no phones)") : JoinPhones(phones)) +
         "\n";
}

std::string ScoreLines(const ComparisonExplanation& e) {
  const std::string result =
      "percentage: " + std::to_string(e.percentage) + "\n";
  if (e.failure == ExplanationFailure::kNoPhones) {
    return "A word without phones cannot be compared.\n" + result;
  }
  if (e.failure == ExplanationFailure::kRefused) {
    return "The alignment gave up: the words cannot be compared.\n" + result;
  }
  const ScoreTerms& t = e.terms;
  std::string out =
      "values: " +
      (e.simValues.empty() ? std::string("none") : JoinValues(e.simValues)) +
      "  (sum A = " + std::to_string(t.cumulativeValue) + ")\n";
  out += "mismatch positions m = " + std::to_string(t.mismatchCount) +
         "; phones of the walked word L = " + std::to_string(t.lengthOfWord) +
         "\n";
  if (t.mismatchCount == 0) {
    return out + "No mismatches: distance 0.\n" + result;
  }
  if (e.failure == ExplanationFailure::kNoDenominator) {
    return out + "(L*L - m) * m = " + std::to_string(t.denominator) +
           " is not above 0: the words cannot be compared.\n" + result;
  }
  if (e.distance < 0) {
    return out + "The values add up to 0: the words cannot be compared.\n" +
           result;
  }
  out += "spread = sqrt(variance " + Fixed(t.variance) + ") + floor " +
         Fixed(t.spreadFloor) + " = " + Fixed(t.spread) + "\n";
  out += "distance = A * spread / ((L*L - m) * m) = " +
         std::to_string(t.cumulativeValue) + " * " + Fixed(t.spread) + " / " +
         std::to_string(t.denominator) + " = " + Fixed(e.distance) + "\n";
  if (e.distance > 1.0) {
    out += "A distance above 1 counts as 1.\n";
  } else {
    out += "percentage = 100 - 100 * distance, cut to a whole number\n";
  }
  return out + result;
}

}  // namespace

std::string JoinPhones(const std::vector<std::string>& phones) {
  std::string joined;
  for (const std::string& phone : phones) {
    if (!joined.empty()) joined += " ";
    joined += phone;
  }
  return joined;
}

std::string ExplanationText(const ComparisonExplanation& e) {
  std::string out =
      WordLine(1, e.word1, e.reading1, e.phones1) +
      WordLine(2, e.word2, e.reading2, e.phones2);
  out += std::string("scoring: ") +
         (e.mode == ScoringMode::kTolerant ? "tolerant" : "strict") + "\n";
  if (e.keysApart) {
    out += "the words share no skeleton key, so they are scored strictly "
           "(tolerant scoring relates only words that share one)\n";
  }
  if (!e.phones1.empty() && !e.phones2.empty()) {
    out += "walked: word " + std::string(e.secondWalked ? "2" : "1") +
           " (the shorter), phone by phone against word " +
           (e.secondWalked ? "1" : "2") + "\n";
  }
  if (!e.steps.empty()) out += "steps:\n";
  for (size_t i = 0; i < e.steps.size(); ++i) {
    out += "  " + std::to_string(i + 1) + ". " + StepLine(e, e.steps[i]) + "\n";
  }
  return out + ScoreLines(e);
}

}  // namespace marrowfield::lists
