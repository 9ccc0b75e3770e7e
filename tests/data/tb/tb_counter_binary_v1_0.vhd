-- Runs a counter_binary_core of version 1.0 (no up input) as an up_down counter of
-- WIDTH bits for two laps and checks that it turns at all ones and at zero instead of
-- wrapping. Reports one line starting with PASS or FAIL.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity tb_counter_binary_v1_0 is
    generic (WIDTH : positive := 3);
end entity;

architecture sim of tb_counter_binary_v1_0 is
    constant TOP : positive := 2 ** WIDTH - 1;
    signal clk  : std_logic := '0';
    signal sclr : std_logic := '1';
    signal q    : std_logic_vector(WIDTH - 1 downto 0);
    signal done : boolean := false;
begin
    dut : entity work.counter_binary_core
        generic map (WIDTH => WIDTH, DIRECTION => "up_down")
        port map (clk => clk, ce => '1', sclr => sclr, load => '0', l => (others => '0'),
                  q => q);

    clk <= not clk after 5 ns when not done;

    process
        variable errors : natural := 0;
    begin
        wait until falling_edge(clk);
        sclr <= '0';
        for n in 0 to 4 * TOP loop
            if to_integer(unsigned(q)) /= minimum(n mod (2 * TOP), 2 * TOP - n mod (2 * TOP)) then
                errors := errors + 1;
            end if;
            wait until falling_edge(clk);
        end loop;
        if errors = 0 then
            report "PASS counter 1.0 WIDTH=" & integer'image(WIDTH) & " turns at "
                & integer'image(TOP) & " and 0";
        else
            report "FAIL counter 1.0 WIDTH=" & integer'image(WIDTH) & ": " & integer'image(errors)
                & " mismatches";
        end if;
        done <= true;
        wait;
    end process;
end architecture;
