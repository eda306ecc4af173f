// The populate routine rides on the menu as a child object, so it goes with the menu.
#include "platform/LazyMenu.h"

namespace lazymenu {
namespace {
class Hook : public QObject {
 public:
  Hook(QMenu* menu, std::function<void()> populate) : QObject(menu), populate_(std::move(populate)) {
    setObjectName(QStringLiteral("lazymenu-hook"));
  }
  void Run() const {
    if (populate_) populate_();
  }

 private:
  std::function<void()> populate_;
};

Hook* HookOf(QMenu* menu) {
  for (QObject* child : menu->children())
    if (child->objectName() == QLatin1String("lazymenu-hook")) return static_cast<Hook*>(child);
  return nullptr;
}
}  // namespace

void SetPopulate(QMenu* menu, std::function<void()> populate) {
  delete HookOf(menu);
  auto* hook = new Hook(menu, std::move(populate));
  QObject::connect(menu, &QMenu::aboutToShow, hook, [hook] { hook->Run(); });
}

void Populate(QMenu* menu) {
  if (!menu) return;
  if (const Hook* hook = HookOf(menu)) hook->Run();
}

}  // namespace lazymenu
