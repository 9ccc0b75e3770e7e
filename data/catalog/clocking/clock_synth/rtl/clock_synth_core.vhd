-- Behavioural simulation model of the clock_synth IP. Generics and ports follow the
-- component file; the generated wrapper instantiates this entity. The device's PLL is
-- not modelled: the model times clk_in and, once it knows its period, runs clk_out(0)
-- at that input frequency times CLKOUT0_FREQ_MHZ / CLKIN_FREQ_MHZ, so a testbench whose
-- clock differs from CLKIN_FREQ_MHZ sees the output follow it as the hardware's would.
-- clk_out(n) divides clk_out(0) by 2^n. Not for synthesis.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity clock_synth_core is
    generic (
        CLKIN_FREQ_MHZ   : real                 := 100.0;
        CLKOUT0_FREQ_MHZ : real                 := 200.0;
        NUM_OUTPUTS      : positive range 1 to 4 := 1;
        -- "internal" or "external"; the model's outputs are the same for both
        FEEDBACK         : string               := "internal";
        -- 1: locked rises when the outputs run; 0: locked stays low
        LOCKED_OUTPUT    : natural range 0 to 1 := 1
    );
    port (
        clk_in  : in  std_logic;
        -- asynchronous, active high: stops the outputs low until clk_in is timed again
        reset   : in  std_logic;
        clk_out : out std_logic_vector(NUM_OUTPUTS - 1 downto 0);
        locked  : out std_logic
    );
end entity;

architecture rtl of clock_synth_core is
    -- Input edges before lock: two to time the period, the rest stands for the loop
    -- settling.
    constant LOCK_EDGES : positive := 8;

    signal edges   : natural range 0 to LOCK_EDGES := 0;
    signal period  : time      := 0 ns;
    signal running : boolean;
    signal clk0    : std_logic := '0';
    signal divider : unsigned(2 downto 0) := (others => '0');
    signal clocks  : std_logic_vector(3 downto 0);
begin
    assert CLKIN_FREQ_MHZ >= 10.0 and CLKIN_FREQ_MHZ <= 800.0
        report "clock_synth_core: CLKIN_FREQ_MHZ must be 10 to 800" severity failure;
    assert CLKOUT0_FREQ_MHZ >= 4.69 and CLKOUT0_FREQ_MHZ <= 800.0
        report "clock_synth_core: CLKOUT0_FREQ_MHZ must be 4.69 to 800" severity failure;
    assert FEEDBACK = "internal" or FEEDBACK = "external"
        report "clock_synth_core: FEEDBACK must be internal or external" severity failure;

    timing : process (clk_in, reset)
        variable last_edge : time := 0 ns;
    begin
        if reset = '1' then
            edges <= 0;
        elsif rising_edge(clk_in) then
            if edges > 0 then
                period <= now - last_edge;
            end if;
            last_edge := now;
            if edges < LOCK_EDGES then
                edges <= edges + 1;
            end if;
        end if;
    end process;

    running <= edges = LOCK_EDGES;

    -- The first rising edge of clk_out(0) coincides with an edge of clk_in; the output
    -- then runs free, a cycle at a time so that reset stops it within one cycle.
    oscillator : process
        variable half : time;
    begin
        if not running then
            wait until running;
        end if;
        half := period * (CLKIN_FREQ_MHZ / CLKOUT0_FREQ_MHZ / 2.0);
        clk0 <= '1';
        wait for half;
        clk0 <= '0';
        wait for half;
    end process;

    process (clk0, reset)
    begin
        if reset = '1' then
            divider <= (others => '0');
        elsif rising_edge(clk0) then
            divider <= divider + 1;
        end if;
    end process;

    clocks  <= std_logic_vector(divider) & clk0;
    clk_out <= clocks(NUM_OUTPUTS - 1 downto 0);
    locked  <= '1' when LOCKED_OUTPUT /= 0 and running else '0';
end architecture;
