#include "station/headless_station.h"

#include <stdlib.h>

#include "detection/event_run.h"
#include "notify/send_report.h"

namespace zentrova {
namespace {

std::string ConfigFolder(const StationOptions& o, SystemInfo& system) {
  return o.configDir.empty() ? system.ConfigFolder() : o.configDir;
}

}  // namespace

namespace {

// The programs the station starts (the e-mail sender) read the same
// configuration folder.
const std::string& Exported(const std::string& folder) {
  ::setenv("ZENTROVA_CONFIG_DIR", folder.c_str(), 1);
  return folder;
}

}  // namespace

HeadlessStation::HeadlessStation(const StationOptions& options, std::ostream& out)
    : options_(options),
      out_(out),
      prompt_(out),
      configFolder_(Exported(ConfigFolder(options, system_))),
      profile_(fs_, configFolder_ + "/Zentrova.ini", "General"),
      product_(fs_, configFolder_ + "/product.ini", "Kalvane Applications"),
      platform_{fs_, profile_, product_, clock_, system_, prompt_},
      loop_(clock_),
      reports_{launcher_, http_, nullptr, nullptr, nullptr} {
  doc_ = std::make_unique<CZentrovaDoc>(platform_);
  ConnectEventDetection(*doc_);
  doc_->services.concatenateRecords = [this](const ConcatenationRequest& request) {
    return ConcatenateRecords(fs_, prompt_, request, &joins_);
  };
  ConnectReports(*doc_, reports_);
  doc_->StartUp();
  doc_->activityLog.SetListener([this](const std::string& line) { out_ << line << std::endl; });
  form_ = std::make_unique<CZentrovaControlForm>(*doc_, loop_);
}

HeadlessStation::~HeadlessStation() {
  if (form_) form_->Shutdown();
  joins_.JoinAll();
}

int HeadlessStation::Run() {
  form_->OnInitialUpdate();
  if (options_.start && form_->bRunning == 0) form_->OnStart();
  loop_.Run(options_.runForSeconds < 0 ? -1 : static_cast<int64_t>(options_.runForSeconds * 1000.0));
  form_->Shutdown();
  joins_.JoinAll();  // a join under way is finished, not cut off
  return 0;
}

}  // namespace zentrova
