#include "convert/MlttStage.h"

#include "convert/FamiliesAsMltt.h"
#include "ism/FinishIsmText.h"
#include "transcode/Transcoder.h"

namespace maravelundi {

Document ConvertToMltt(const Document& story, const ConversionProfile& profile, ProgressSink* progress,
                       std::vector<TextIndex>* sourceOf) {
  ReportStage(progress, ConversionStage::kTranscode);
  Document mltt = Transcode(story, profile.generation, progress, sourceOf);
  ReportStage(progress, ConversionStage::kOutput);
  if (profile.target == TextTarget::kUnicode) return mltt;
  if (profile.LegacyFamilies()) ReencodeFamiliesAsMltt(mltt, sourceOf);
  if (profile.target == TextTarget::kIsm) mltt = FinishIsmText(mltt, progress, sourceOf);
  return mltt;
}

}  // namespace maravelundi
