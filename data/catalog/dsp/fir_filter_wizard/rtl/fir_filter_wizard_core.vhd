-- Behavioural simulation model of the fir_filter_wizard IP. Generics and ports follow
-- the component file; the generated wrapper instantiates this entity. The coefficients
-- a user designs in Sylvane do not reach the model: it filters with a triangular
-- low-pass window of TAPS coefficients, tap k being
-- floor((2^(COEFF_WIDTH-1) - 1) * min(k + 1, TAPS - k) / ((TAPS + 1) / 2)),
-- so the middle tap is the largest a signed COEFF_WIDTH-bit coefficient holds.
-- din is a signed sample a clock; dout is the full-precision sum, registered, one clock
-- after the sample that entered it, whatever STRUCTURE says.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use ieee.math_real.all;

entity fir_filter_wizard_core is
    generic (
        TAPS        : positive range 2 to 1024 := 32;
        COEFF_WIDTH : positive range 2 to 32   := 16;
        -- "direct", "transposed" or "systolic"; the model's response is the same for all
        STRUCTURE   : string                   := "transposed"
    );
    port (
        clk  : in  std_logic;
        din  : in  std_logic_vector(15 downto 0);
        dout : out std_logic_vector(COEFF_WIDTH + integer(ceil(log2(real(TAPS)))) + 15 downto 0)
    );
end entity;

architecture rtl of fir_filter_wizard_core is
    -- Wide enough that no sum of TAPS full-scale products overflows.
    constant OUT_WIDTH : positive := COEFF_WIDTH + integer(ceil(log2(real(TAPS)))) + 16;
    constant PEAK      : positive := (TAPS + 1) / 2;

    type coeffs_t is array (0 to TAPS - 1) of signed(COEFF_WIDTH - 1 downto 0);
    type samples_t is array (0 to TAPS - 2) of signed(15 downto 0);

    -- 64-bit arithmetic: the largest coefficient times the window exceeds integer.
    function window return coeffs_t is
        constant LARGEST : signed(63 downto 0) := shift_left(to_signed(1, 64), COEFF_WIDTH - 1) - 1;
        variable h       : coeffs_t;
    begin
        for k in 0 to TAPS - 1 loop
            h(k) := resize(resize(LARGEST * to_signed(minimum(k + 1, TAPS - k), 64), 64)
                           / to_signed(PEAK, 64), COEFF_WIDTH);
        end loop;
        return h;
    end function;

    constant H : coeffs_t := window;
    -- x(k) is the sample of k + 1 clocks ago.
    signal x   : samples_t := (others => (others => '0'));
    signal sum : signed(OUT_WIDTH - 1 downto 0) := (others => '0');
begin
    assert STRUCTURE = "direct" or STRUCTURE = "transposed" or STRUCTURE = "systolic"
        report "fir_filter_wizard_core: STRUCTURE must be direct, transposed or systolic"
        severity failure;

    process (clk)
        variable acc : signed(OUT_WIDTH - 1 downto 0);
    begin
        if rising_edge(clk) then
            acc := resize(H(0) * signed(din), OUT_WIDTH);
            for k in 1 to TAPS - 1 loop
                acc := acc + resize(H(k) * x(k - 1), OUT_WIDTH);
            end loop;
            sum <= acc;
            x   <= signed(din) & x(0 to TAPS - 3);
        end if;
    end process;

    dout <= std_logic_vector(sum);
end architecture;
