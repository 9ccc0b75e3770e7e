-- Drives a clock_synth_core at CLKIN_KHZ and checks that after lock every output runs
-- at CLKOUT0_KHZ / 2^n, that locked follows LOCKED_OUTPUT, and that reset stops the
-- outputs and drops locked. Frequencies are whole kHz because GHDL cannot set a real
-- generic from its command line. Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;

entity tb_clock_synth is
    generic (
        CLKIN_KHZ     : positive := 100000;
        CLKOUT0_KHZ   : positive := 200000;
        NUM_OUTPUTS   : positive := 1;
        LOCKED_OUTPUT : natural  := 1
    );
end entity;

architecture sim of tb_clock_synth is
    constant IN_PERIOD  : time     := 1.0e6 / real(CLKIN_KHZ) * 1 ns;
    constant OUT_PERIOD : time     := 1.0e6 / real(CLKOUT0_KHZ) * 1 ns;
    constant CYCLES     : positive := 4;
    constant ZERO       : std_logic_vector(NUM_OUTPUTS - 1 downto 0) := (others => '0');
    signal clk_in  : std_logic := '0';
    signal reset   : std_logic := '1';
    signal clk_out : std_logic_vector(NUM_OUTPUTS - 1 downto 0);
    signal locked  : std_logic;
    signal done    : boolean := false;
begin
    dut : entity work.clock_synth_core
        generic map (CLKIN_FREQ_MHZ   => real(CLKIN_KHZ) / 1000.0,
                     CLKOUT0_FREQ_MHZ => real(CLKOUT0_KHZ) / 1000.0,
                     NUM_OUTPUTS => NUM_OUTPUTS, LOCKED_OUTPUT => LOCKED_OUTPUT)
        port map (clk_in => clk_in, reset => reset, clk_out => clk_out, locked => locked);

    clk_in <= not clk_in after IN_PERIOD / 2 when not done;

    process
        -- Waits for the next rising edge of one output; an event on the others passes.
        procedure rising(n : natural) is
        begin
            wait until clk_out(n) = '0';
            wait until clk_out(n) = '1';
        end procedure;

        variable errors   : natural := 0;
        variable start    : time;
        variable measured : time;
        variable wanted   : time;
    begin
        wait for IN_PERIOD * 5;
        if clk_out /= ZERO or locked /= '0' then
            errors := errors + 1;
        end if;
        reset <= '0';
        wait for IN_PERIOD * 20;
        if (locked = '1') /= (LOCKED_OUTPUT /= 0) then
            errors := errors + 1;
        end if;
        for n in 0 to NUM_OUTPUTS - 1 loop
            rising(n);
            start := now;
            for k in 1 to CYCLES loop
                rising(n);
            end loop;
            measured := (now - start) / CYCLES;
            wanted   := OUT_PERIOD * 2 ** n;
            if measured < wanted * 0.99 or measured > wanted * 1.01 then
                report "clk_out(" & integer'image(n) & "): period " & time'image(measured)
                    & ", expected " & time'image(wanted);
                errors := errors + 1;
            end if;
        end loop;
        reset <= '1';
        wait for OUT_PERIOD;
        if locked /= '0' then
            errors := errors + 1;
        end if;
        for k in 1 to 100 loop
            wait for OUT_PERIOD / 10;
            if clk_out /= ZERO then
                errors := errors + 1;
            end if;
        end loop;
        if errors = 0 then
            report "PASS clock " & integer'image(CLKIN_KHZ) & " kHz to "
                & integer'image(CLKOUT0_KHZ) & " kHz, " & integer'image(NUM_OUTPUTS)
                & " outputs";
        else
            report "FAIL clock " & integer'image(CLKIN_KHZ) & " kHz to "
                & integer'image(CLKOUT0_KHZ) & " kHz, " & integer'image(NUM_OUTPUTS)
                & " outputs: " & integer'image(errors) & " mismatches";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
