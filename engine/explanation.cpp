// The explanation of a comparison: the engine's alignment walk run with a
// record that turns each of its steps into an ExplanationStep, and the
// engine's scoring arithmetic kept term by term. Nothing here computes a
// score of its own, so the explanation cannot disagree with the engine.

#include "explanation.h"

#include <utility>

#include "alignment_walk.h"
#include "flite_lexicon.h"
#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "skeleton_keys.h"
#include "tolerant_reading.h"
#include "walk_order.h"

namespace marrowfield {
namespace {

// Hears the walk and writes explanation steps. Each step takes the values
// and mismatch positions the walk appended since the step before it.
class ExplanationRecord {
 public:
  explicit ExplanationRecord(ComparisonExplanation& explanation)
      : explanation(explanation) {}

  void Step(WalkStep kind, WalkSide side, size_t i, size_t j,
            int32_t distance) {
    ExplanationStep step;
    step.kind = KindOf(kind);
    // A pairing involves a phone of each list; any other step one phone,
    // of the walked list (at i) or of the other (at j).
    const bool paired =
        kind == WalkStep::kPaired || kind == WalkStep::kForcedPair;
    const int walked = paired || side == WalkSide::kFirst ? Index(i) : -1;
    const int other = paired || side == WalkSide::kSecond ? Index(j) : -1;
    step.position1 = explanation.secondWalked ? other : walked;
    step.position2 = explanation.secondWalked ? walked : other;
    step.distance = paired ? distance : -1;
    TakeNewEntries(step);
    explanation.steps.push_back(std::move(step));
  }

  // The walk appended more to the step before the last one's account.
  void AttachToEarlier() {
    std::vector<ExplanationStep>& steps = explanation.steps;
    if (steps.size() >= 2) TakeNewEntries(steps[steps.size() - 2]);
  }

  // The walk took back the last value recorded.
  void Withdraw() {
    for (auto step = explanation.steps.rbegin();
         step != explanation.steps.rend(); ++step) {
      if (!step->values.empty() && !step->withdrawn) {
        step->withdrawn = true;
        break;
      }
    }
    if (valuesTaken > 0) --valuesTaken;
  }

 private:
  static ExplanationStepKind KindOf(WalkStep kind) {
    switch (kind) {
      case WalkStep::kPaired:
        return ExplanationStepKind::kPaired;
      case WalkStep::kSkipped:
        return ExplanationStepKind::kSkipped;
      case WalkStep::kLeftOver:
        return ExplanationStepKind::kLeftOver;
      case WalkStep::kForcedPass:
        return ExplanationStepKind::kTolerantPass;
      case WalkStep::kForcedPair:
        return ExplanationStepKind::kForcedPair;
      case WalkStep::kRefused:
        break;
    }
    return ExplanationStepKind::kRefused;
  }

  static int Index(size_t k) { return static_cast<int>(k); }

  void TakeNewEntries(ExplanationStep& step) {
    const std::vector<int32_t>& values = explanation.simValues;
    step.values.insert(step.values.end(), values.begin() + valuesTaken,
                       values.end());
    valuesTaken = values.size();
    const size_t positions = explanation.mismatchedPositions.size();
    step.mismatches += static_cast<int32_t>(positions - positionsTaken);
    positionsTaken = positions;
  }

  ComparisonExplanation& explanation;
  size_t valuesTaken = 0;
  size_t positionsTaken = 0;
};

template <typename Tolerance>
int Walk(const PhoneticMatcher& matcher, const PhoneIds& string1,
         const PhoneIds& string2, ComparisonExplanation& explanation) {
  ExplanationRecord record(explanation);
  return WalkAlignment<Tolerance>(matcher, string1, string2,
                                  explanation.simValues,
                                  explanation.mismatchedPositions, record);
}

// The alignment and the arithmetic of |first| against |second| in |mode|,
// into |explanation| (whose words are already set).
void ExplainTranscriptions(const PhoneticMatcher& matcher,
                           const Transcription& first,
                           const Transcription& second,
                           ComparisonExplanation& explanation) {
  explanation.phones1 = PhoneNames(first);
  explanation.phones2 = PhoneNames(second);
  if (first.ids.empty() || second.ids.empty()) return;

  const WalkOrder order = OrderOfWalk(first.ids, second.ids);
  explanation.secondWalked = order.secondWalks;
  const PhoneIds& string1 = order.walked;
  const PhoneIds& string2 = order.other;
  const int aligned =
      explanation.mode == ScoringMode::kStrict || explanation.keysApart
          ? Walk<StrictTolerance>(matcher, string1, string2, explanation)
          : Walk<ForcedStepTolerance>(matcher, string1, string2, explanation);
  if (aligned < 0) {
    explanation.failure = ExplanationFailure::kRefused;
    return;
  }
  explanation.terms = ComputeScoreTerms(
      explanation.simValues, explanation.mismatchedPositions, string1.size());
  explanation.distance = explanation.terms.distance;
  explanation.failure = explanation.distance == kFailureDistance
                            ? ExplanationFailure::kNoDenominator
                            : ExplanationFailure::kNone;
  explanation.percentage = DistanceToPercentage(explanation.distance);
}

}  // namespace

ComparisonExplanation ExplainComparison(const std::string& word1,
                                        const std::string& word2,
                                        ScoringMode mode) {
  ComparisonExplanation explanation;
  explanation.mode = mode;
  explanation.word1 = word1;
  explanation.word2 = word2;
  explanation.failure = ExplanationFailure::kNoPhones;
  if (!PhoneTablesReady()) return explanation;

  // The transcription of compare_words (GetPhonesForPair), but of both
  // words even when the first has no phones, so that both can be shown.
  const PhoneticMatcher matcher(CurrentLexicon());
  matcher.CleanWord(explanation.word1);
  matcher.CleanWord(explanation.word2);
  const Transcription first = matcher.TranscribeFromLexicon(explanation.word1);
  const Transcription second = matcher.TranscribeFromLexicon(explanation.word2);
  TolerantReadings readings1;
  TolerantReadings readings2;
  if (mode == ScoringMode::kTolerant) {
    readings1 = ReadTolerantly(matcher, explanation.word1);
    readings2 = ReadTolerantly(matcher, explanation.word2);
    // As TolerantDistanceOfReadings: words without a shared skeleton key
    // are scored strictly.
    explanation.keysApart =
        !first.ids.empty() && !second.ids.empty() &&
        !ReadingsShareKey(readings1.written, readings1.respelled,
                          readings2.written, readings2.respelled);
  }
  ExplainTranscriptions(matcher, first, second, explanation);
  if (mode == ScoringMode::kStrict || first.ids.empty() ||
      second.ids.empty() || explanation.keysApart)
    return explanation;

  // The tolerant score also compares the respelled readings and keeps the
  // better comparison (TolerantDistanceOfReadings): the explanation is
  // then that comparison's. A word whose respelling sounds like it is
  // read as written.
  if (readings1.respelled.empty() && readings2.respelled.empty())
    return explanation;
  ComparisonExplanation respelled;
  respelled.mode = mode;
  respelled.word1 = explanation.word1;
  respelled.word2 = explanation.word2;
  if (!readings1.respelled.empty())
    respelled.reading1 = RespellForTolerantReading(explanation.word1);
  if (!readings2.respelled.empty())
    respelled.reading2 = RespellForTolerantReading(explanation.word2);
  ExplainTranscriptions(
      matcher,
      respelled.reading1.empty()
          ? first
          : matcher.TranscribeFromLexicon(respelled.reading1),
      respelled.reading2.empty()
          ? second
          : matcher.TranscribeFromLexicon(respelled.reading2),
      respelled);
  if (BetterDistance(respelled.distance, explanation.distance))
    return respelled;
  return explanation;
}

}  // namespace marrowfield
