#include "support/gl_interceptor/gl_call_interceptor.h"

#include <cassert>
#include <type_traits>
#include <utility>

namespace {

GlCallObserver* observer = nullptr;  // set while an interceptor lives

// The hook for the GLEW entry point `slot`: the real call (kept in `real`
// while the hook is in), then the observer's member `notify`, with the
// call's arguments and, when it has one, its result.
template <auto& slot, auto notify, typename Pointer = std::remove_reference_t<decltype(slot)>>
struct Hook;

template <auto& slot, auto notify, typename Result, typename... Args>
struct Hook<slot, notify, Result(GLAPIENTRY*)(Args...)> {
    static inline Result(GLAPIENTRY* real)(Args...) = nullptr;

    static Result GLAPIENTRY call(Args... args) {
        if constexpr (std::is_void_v<Result>) {
            real(args...);
            (observer->*notify)(args...);
        } else {
            const Result result = real(args...);
            (observer->*notify)(args..., result);
            return result;
        }
    }
    static void swapIn() { real = std::exchange(slot, &call); }
    static void restore() { slot = real; }
};

template <typename... Hooks>
struct HookList {
    static void swapIn() { (Hooks::swapIn(), ...); }
    static void restore() { (Hooks::restore(), ...); }
};

using Hooks =
    HookList<Hook<__glewUseProgram, &GlCallObserver::useProgram>,
             Hook<__glewUniform1f, &GlCallObserver::uniform1f>,
             Hook<__glewUniform1i, &GlCallObserver::uniform1i>,
             Hook<__glewUniform2f, &GlCallObserver::uniform2f>,
             Hook<__glewUniform3f, &GlCallObserver::uniform3f>,
             Hook<__glewUniformMatrix3fv, &GlCallObserver::uniformMatrix3fv>,
             Hook<__glewUniformMatrix4fv, &GlCallObserver::uniformMatrix4fv>,
             Hook<__glewActiveTexture, &GlCallObserver::activeTexture>,
             Hook<__glewBindVertexArray, &GlCallObserver::bindVertexArray>,
             Hook<__glewBindBuffer, &GlCallObserver::bindBuffer>,
             Hook<__glewBufferData, &GlCallObserver::bufferData>,
             Hook<__glewEnableVertexAttribArray, &GlCallObserver::enableVertexAttribArray>,
             Hook<__glewVertexAttribPointer, &GlCallObserver::vertexAttribPointer>,
             Hook<__glewGenBuffers, &GlCallObserver::genBuffers>,
             Hook<__glewGenVertexArrays, &GlCallObserver::genVertexArrays>,
             Hook<__glewDeleteBuffers, &GlCallObserver::deleteBuffers>,
             Hook<__glewDeleteVertexArrays, &GlCallObserver::deleteVertexArrays>,
             Hook<__glewCreateShader, &GlCallObserver::createShader>,
             Hook<__glewDeleteShader, &GlCallObserver::deleteShader>>;

}  // namespace

GlCallInterceptor::GlCallInterceptor(GlCallObserver& observing) {
    assert(observer == nullptr && "one interceptor at a time");
    observer = &observing;
    Hooks::swapIn();
}

GlCallInterceptor::~GlCallInterceptor() {
    Hooks::restore();
    observer = nullptr;
}
