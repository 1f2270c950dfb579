#include "demo/common/ChildProtocol.h"

#include <QByteArray>
#include <QMetaObject>
#include <QObject>

namespace lindrel::demo {
namespace {

// Looked up first so that a child without the procedure stays quiet (the timer asks
// every two seconds).
bool Has(const QObject& child, const char* procedure, const char* parameters) {
  QByteArray signature = QByteArray(procedure) + "(" + parameters + ")";
  return child.metaObject()->indexOfMethod(QMetaObject::normalizedSignature(signature)) >= 0;
}

}  // namespace

bool CallChild(QObject* child, const char* procedure) {
  if (child == nullptr || !Has(*child, procedure, "")) return false;
  return QMetaObject::invokeMethod(child, procedure, Qt::DirectConnection);
}

bool CallChild(QObject* child, const char* procedure, bool flag) {
  if (child == nullptr || !Has(*child, procedure, "bool")) return false;
  return QMetaObject::invokeMethod(child, procedure, Qt::DirectConnection, Q_ARG(bool, flag));
}

}  // namespace lindrel::demo
