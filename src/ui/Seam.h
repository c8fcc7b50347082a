#pragma once
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace seams {

// Undoes one stand-in when it goes out of scope.
class Guard {
public:
    virtual ~Guard() = default;
};

template <typename Signature> class Seam;

// A platform interface the program calls through (the clock, the screen, the printer ...). Calling
// the seam runs the real function, unless a test has put a stand-in in its place. A stand-in is
// only ever put in place for a scope: the guard that replace() returns puts back what was there
// before, also when a test returns early, so no stand-in can leak into the next test.
template <typename R, typename... Args> class Seam<R(Args...)> {
public:
    using Function = std::function<R(Args...)>;

    explicit Seam(R (*real)(Args...)) : m_real(real) {}
    Seam(const Seam &) = delete;
    Seam &operator=(const Seam &) = delete;

    R operator()(Args... args) const
    {
        return m_standIn ? m_standIn(std::forward<Args>(args)...) : m_real(std::forward<Args>(args)...);
    }

    class [[nodiscard]] Override : public Guard {
    public:
        Override(Seam &seam, Function standIn) : m_seam(&seam), m_before(std::exchange(seam.m_standIn, standIn)) {}
        Override(Override &&other) noexcept
            : m_seam(std::exchange(other.m_seam, nullptr)), m_before(std::move(other.m_before))
        {
        }
        Override(const Override &) = delete;
        Override &operator=(const Override &) = delete;
        Override &operator=(Override &&) = delete;
        ~Override() override
        {
            if (m_seam)
                m_seam->m_standIn = std::move(m_before);
        }

    private:
        Seam *m_seam;
        Function m_before;
    };

    Override replace(Function standIn) { return Override(*this, std::move(standIn)); }

private:
    R (*m_real)(Args...);
    Function m_standIn;
};

// Stand-ins for several seams, all undone together, the last one first.
class Overrides {
public:
    Overrides() = default;
    Overrides(const Overrides &) = delete;
    Overrides &operator=(const Overrides &) = delete;
    ~Overrides()
    {
        while (!m_guards.empty())
            m_guards.pop_back();
    }

    template <typename S, typename F> void replace(S &seam, F &&standIn)
    {
        m_guards.push_back(std::make_unique<typename S::Override>(seam.replace(std::forward<F>(standIn))));
    }

private:
    std::vector<std::unique_ptr<Guard>> m_guards;
};

} // namespace seams
