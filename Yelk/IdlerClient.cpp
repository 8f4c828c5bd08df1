#include "IdlerClient.h"

#include "IdlerServer.h"

IdlerClient::IdlerClient(std::function<bool()> callback, QString name)
    : callback(std::move(callback)), name(std::move(name)) {}

IdlerClient::~IdlerClient() { IdlerServer::IS().DeregisterIdlerClient(this); }

void IdlerClient::ResetMinIntervalTimer() {
  lastRun = IdlerServer::IS().Now();
  hasRun = true;
}

bool IdlerClient::IsDue(qint64 now) const { return !hasRun || now - lastRun >= MinInterval; }

bool IdlerClient::Run(qint64 now) {
  lastRun = now;
  hasRun = true;
  return callback ? callback() : true;
}
